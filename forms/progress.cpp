#include "forms/progress.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressDialog>

namespace forms {

namespace {

// Neither Esc nor the close box stops the work, so neither closes the box.
class SteadyProgressDialog : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QProgressDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

}  // namespace

ProgressBox::ProgressBox(QWidget* parent, const QString& label) : parent_(parent), label_(label) {}

ProgressBox::~ProgressBox() = default;

void ProgressBox::operator()(int row, int rows) {
    if (rows <= kShownAbove || row < nextRow_) {
        return;
    }
    if (!dialog_) {
        dialog_ = std::make_unique<SteadyProgressDialog>(label_, QString(), 0, rows, parent_);
        dialog_->setWindowTitle(QStringLiteral("orvelin"));
        dialog_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setCancelButton(nullptr);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->setMinimumDuration(0);
        dialog_->setMinimumWidth(320);
        dialog_->show();
        sinceUpdate_.start();
    }
    // A hundredth of the walk, or a twentieth of a second, whichever comes later: the box
    // keeps moving without the walk paying for it.
    nextRow_ = row + std::max(1, rows / 100);
    if (row < rows && sinceUpdate_.isValid() && sinceUpdate_.elapsed() < 50 &&
        dialog_->value() > 0) {
        return;
    }
    sinceUpdate_.restart();
    dialog_->setValue(row);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace forms
