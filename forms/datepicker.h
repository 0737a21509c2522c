#pragma once

#include <QDateEdit>

// The order dialog's date picker: the user's short date format with the year in full,
// years 1900 to 2099, and a drop-down calendar that opens from its arrow, F4 or Alt+Down,
// with today marked. Tab leaves it for the next control, as in every other field of the
// dialog; the arrow keys, and a typed separator, move between its day, month and year.
namespace forms {

class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent);

    void openCalendar();
    bool calendarIsOpen() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void markToday();
};

}  // namespace forms
