#include "forms/datepicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextCharFormat>

#include "store/field.h"

namespace forms {

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent) {
    setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
    setDisplayFormat(store::shortDateFormat());
    setCalendarPopup(true);
    auto* calendar = new QCalendarWidget(this);
    calendar->setGridVisible(true);
    setCalendarWidget(calendar);
}

void DatePicker::markToday() {
    QCalendarWidget* calendar = calendarWidget();
    calendar->setDateTextFormat(QDate(), QTextCharFormat());  // forget an earlier day's mark
    QTextCharFormat today;
    today.setFontWeight(QFont::Bold);
    today.setForeground(QColor(128, 0, 0));
    today.setBackground(QColor(255, 236, 160));
    calendar->setDateTextFormat(QDate::currentDate(), today);
}

bool DatePicker::calendarIsOpen() const {
    const QWidget* popup = calendarWidget()->window();
    return popup != window() && popup->isVisible();
}

void DatePicker::openCalendar() {
    if (calendarIsOpen() || isReadOnly()) {
        return;
    }
    // The calendar drops down from a press on the arrow; the keys press it the same way, so
    // both open one and the same calendar at the same place.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.subControls = QStyle::SC_All;
    option.editable = true;
    const QRect arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    const QPointF centre = arrow.isValid() ? QPointF(arrow.center()) : QPointF(width() - 4, 4);
    QMouseEvent press(QEvent::MouseButtonPress, centre, mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    mousePressEvent(&press);
}

void DatePicker::mousePressEvent(QMouseEvent* event) {
    markToday();
    QDateEdit::mousePressEvent(event);
}

void DatePicker::keyPressEvent(QKeyEvent* event) {
    const bool altDown =
        event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier) != 0;
    if (event->key() == Qt::Key_F4 || altDown) {
        openCalendar();
        event->accept();
        return;
    }
    // A separator typed after a day or a month goes on to the next part of the date ("1.3." is
    // the first of March), as it would without the Tab rule below. A part typed in full is
    // left for the next one at once, so the separator after it ("15.10.2026") only goes
    // past a part still whole and selected; after the year it does nothing.
    const QString text = event->text();
    if (text.size() == 1 && text[0].isPunct() &&
        (event->modifiers() & ~Qt::ShiftModifier & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!lineEdit()->hasSelectedText() && currentSectionIndex() + 1 < sectionCount()) {
            setCurrentSectionIndex(currentSectionIndex() + 1);
            setSelectedSection(currentSection());
        }
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

bool DatePicker::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);  // not the date's next section
}

}  // namespace forms
