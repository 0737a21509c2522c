#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace forms {

// A modal box that shows how far a long walk over a list has come. It appears only for
// lists of more than about 500 rows, has no Cancel (the commands cannot stop halfway), and
// goes when it goes out of scope. Call it with (row, rows) as the walk moves on.
class ProgressBox {
public:
    ProgressBox(QWidget* parent, const QString& label);
    ~ProgressBox();
    ProgressBox(const ProgressBox&) = delete;
    ProgressBox& operator=(const ProgressBox&) = delete;

    void operator()(int row, int rows);

    static constexpr int kShownAbove = 500;

private:
    QWidget* parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
    QElapsedTimer sinceUpdate_;
    int nextRow_ = 0;
};

}  // namespace forms
