#include <QAction>
#include <QCalendarWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableView>
#include <QtTest>

#include "forms/picturebox.h"
#include "tests/support.h"
#include "ui/desktop.h"

namespace {

// Gives the window the keyboard, as the desktop does when it appears.
void activate(QWidget& window) {
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Where the focus goes on each press of key, starting from where it is.
QList<QWidget*> focusWalk(int presses, Qt::Key key = Qt::Key_Tab) {
    QList<QWidget*> visited;
    for (int i = 0; i < presses; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key);
        visited.append(QApplication::focusWidget());
    }
    return visited;
}

// The program with a small menu, its main window up and holding the keyboard.
struct ShownSession : Session {
    ShownSession() : Session(sampleMenu()) {
        folder.addOrder(1, QStringLiteral("Асан"), 2, 3500, QStringLiteral("2026-12-01"));
        activate(w.main);
    }
};

// Runs check inside the next showing of dialog, which the command opens; fails when the
// dialog never opened.
void insideDialog(QDialog& dialog, QAction* command, const std::function<void()>& check) {
    bool ran = false;
    whileModal(dialog, [&] {
        ran = true;
        activate(dialog);
        check();
    });
    command->trigger();
    QVERIFY2(ran, "the dialog did not open");
}

}  // namespace

// The keyboard as a desktop user uses it: Tab through every window, Enter on the focused
// button, the date picker's calendar; and the dialogs' frames.
class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void tabWalksEachWindowInItsOrder();
    void enterPressesTheFocusedButton();
    void datePickerByKeyboard();
    void twoDigitYearLocaleKeepsTheCentury();
    void fixedDialogsCannotBeMinimised();
    void fileDialogsLeaveNoSettingsBehind();
};

void KeyboardTest::tabWalksEachWindowInItsOrder() {
    ShownSession session;
    auto& [folder, answers, w] = session;
    TForm1& m = w.main;
    QCOMPARE(QApplication::focusWidget(), control<QTableView>(m, "DBGrid1"));
    // Grid, picture, description, search text, search button, the checked search field; the
    // grid again. Tab never walks the grid's cells.
    QCOMPARE(focusWalk(6),
             controls(m, {"DBImage1", "DBMemo1", "Edit1", "BitBtn1", "RadioButton1", "DBGrid1"}));
    QCOMPARE(control<QTableView>(m, "DBGrid1")->currentIndex().row(), 0);
    QCOMPARE(focusWalk(2, Qt::Key_Backtab), controls(m, {"RadioButton1", "BitBtn1"}));
    // The arrow keys move the check within the group; Tab then stops on the new one.
    focusWalk(1);
    QTest::keyClick(control<QRadioButton>(m, "RadioButton1"), Qt::Key_Right);
    QVERIFY(control<QRadioButton>(m, "RadioButton2")->isChecked());
    QCOMPARE(m.statusText(2), QStringLiteral("Таңдау өрісі: бағасы бойынша"));
    QCOMPARE(focusWalk(2, Qt::Key_Backtab), controls(m, {"BitBtn1", "Edit1"}));
    QCOMPARE(focusWalk(2), controls(m, {"BitBtn1", "RadioButton2"}));

    TForm4& o = w.orders;
    insideDialog(o, m.action(QStringLiteral("orders")), [&] {
        QCOMPARE(QApplication::focusWidget(), control<QTableView>(o, "DBGrid1"));
        QCOMPARE(focusWalk(5),
                 controls(o, {"BitBtn1", "Edit1", "RadioButton2", "BitBtn2", "DBGrid1"}));
        o.close();
    });
    TForm2& e = w.editor;
    insideDialog(e, m.action(QStringLiteral("add")), [&] {
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(e, "DBEdit1"));
        QCOMPARE(focusWalk(10),
                 controls(e, {"DBEdit2", "DBEdit3", "DBEdit5", "DBEdit6", "DBMemo1", "BitBtn1",
                              "BitBtn2", "BitBtn3", "DBImage1", "DBEdit1"}));
    });
    TForm3& t = w.order;
    insideDialog(t, m.action(QStringLiteral("order")), [&] {
        QCOMPARE(QApplication::focusWidget(), control<QLineEdit>(t, "Edit1"));
        // The date picker is one stop: Tab leaves it, not its day for its month.
        QCOMPARE(focusWalk(7),
                 controls(t, {"Edit2", "Edit3", "Edit4", "dtp1", "BitBtn1", "BitBtn2", "Edit1"}));
    });
}

void KeyboardTest::enterPressesTheFocusedButton() {
    ShownSession session;
    auto& [folder, answers, w] = session;
    auto dishes = [&] { return folder.scalar(QStringLiteral("select count(*) from goods")); };
    auto orders = [&] { return folder.scalar(QStringLiteral("select count(*) from orders")); };
    auto fillEditor = [&] {
        // Typed key by key (QTest types ASCII only).
        for (const char* text : {"7", "Samsa", "Qamyr", "600", "40", "Etti"}) {
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    };
    TForm2& e = w.editor;
    const int menu = dishes().toInt();
    // The whole form filled, then Tab on to the button and Enter there.
    struct EditorCase {
        int tabsAfterMemo;  // 0: the picture button, 1: OK, 2: Cancel
        bool choosesPicture;
        int added;
    };
    for (const EditorCase& c :
         {EditorCase{2, false, 0}, EditorCase{0, true, 0}, EditorCase{1, false, 1}}) {
        answers.pictureFilter.clear();
        insideDialog(e, w.main.action(QStringLiteral("add")), [&] {
            fillEditor();
            focusWalk(c.tabsAfterMemo);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            if (e.isVisible()) {
                e.reject();
            }
        });
        QCOMPARE(answers.pictureFilter.isEmpty(), !c.choosesPicture);
        QCOMPARE(dishes().toInt(), menu + c.added);
    }
    // Enter in a field presses the default button: OK.
    folder.db().exec(QStringLiteral("delete from goods where Code = 7"));
    insideDialog(e, w.main.action(QStringLiteral("add")), [&] {
        fillEditor();
        control<QLineEdit>(e, "DBEdit2")->setFocus();
        QTest::keyClick(control<QLineEdit>(e, "DBEdit2"), Qt::Key_Return);
        QVERIFY(!e.isVisible());
    });
    QCOMPARE(dishes().toInt(), menu + 1);

    TForm3& t = w.order;
    for (const bool cancel : {true, false}) {
        insideDialog(t, w.main.action(QStringLiteral("order")), [&] {
            QTest::keyClicks(control<QLineEdit>(t, "Edit1"), QStringLiteral("Asan"));
            QTest::keyClick(control<QLineEdit>(t, "Edit1"), Qt::Key_Tab);
            QTest::keyClicks(control<QLineEdit>(t, "Edit2"), QStringLiteral("2"));
            focusWalk(cancel ? 5 : 4);  // to "Болдырмау", or to OK
            QCOMPARE(QApplication::focusWidget(), cancel ? control<QPushButton>(t, "BitBtn2")
                                                         : control<QPushButton>(t, "BitBtn1"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);  // the number pad's
            QVERIFY(!t.isVisible());
        });
        QCOMPARE(orders().toInt(), cancel ? 1 : 2);
    }
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
}

void KeyboardTest::datePickerByKeyboard() {
    ShownSession session;
    auto& [folder, answers, w] = session;
    TForm3& t = w.order;
    insideDialog(t, w.main.action(QStringLiteral("order")), [&] {
        focusWalk(4);
        QCOMPARE(QApplication::focusWidget(), control<forms::DatePicker>(t, "dtp1"));
        const QDate today = QDate::currentDate();
        for (const QKeyCombination key :
             {QKeyCombination(Qt::AltModifier, Qt::Key_Down), QKeyCombination(Qt::Key_F4)}) {
            QTest::keyClick(control<forms::DatePicker>(t, "dtp1"), key.key(),
                            key.keyboardModifiers());
            QTRY_VERIFY(control<forms::DatePicker>(t, "dtp1")->calendarIsOpen());
            QCalendarWidget* calendar = control<forms::DatePicker>(t, "dtp1")->calendarWidget();
            QCOMPARE(calendar->selectedDate(), today);
            QVERIFY(calendar->dateTextFormat(today).fontWeight() == QFont::Bold);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!control<forms::DatePicker>(t, "dtp1")->calendarIsOpen());
            QVERIFY(t.isVisible());  // Esc closed the calendar, not the dialog
            QCOMPARE(control<forms::DatePicker>(t, "dtp1")->date(), today);
        }
        // Years stay within 1900 to 2099, whatever is typed over them.
        QCOMPARE(control<forms::DatePicker>(t, "dtp1")->minimumDate(), QDate(1900, 1, 1));
        QCOMPARE(control<forms::DatePicker>(t, "dtp1")->maximumDate(), QDate(2099, 12, 31));
        control<forms::DatePicker>(t, "dtp1")->setCurrentSection(QDateTimeEdit::YearSection);
        QTest::keyClicks(control<forms::DatePicker>(t, "dtp1"), QStringLiteral("5200"));
        QVERIFY(control<forms::DatePicker>(t, "dtp1")->date().year() >= 1900 &&
                control<forms::DatePicker>(t, "dtp1")->date().year() <= 2099);
        t.reject();
    });
}

void KeyboardTest::twoDigitYearLocaleKeepsTheCentury() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // M/d/yy
    ShownSession session;
    auto& [folder, answers, w] = session;
    TForm3& t = w.order;
    insideDialog(t, w.main.action(QStringLiteral("order")), [&] {
        QCOMPARE(control<forms::DatePicker>(t, "dtp1")->displayFormat(),
                 QStringLiteral("M/d/yyyy"));
        control<forms::DatePicker>(t, "dtp1")->setDate(QDate(2099, 3, 4));
        QCOMPARE(control<forms::DatePicker>(t, "dtp1")->text(), QStringLiteral("3/4/2099"));
        QTest::keyClicks(control<QLineEdit>(t, "Edit1"), QStringLiteral("Asan"));
        QTest::keyClicks(control<QLineEdit>(t, "Edit2"), QStringLiteral("1"));
        control<QPushButton>(t, "BitBtn1")->click();
    });
    QCOMPARE(folder.scalar(QStringLiteral("select max(dt) from orders")).toString(),
             QStringLiteral("2099-03-04"));
    insideDialog(w.orders, w.main.action(QStringLiteral("orders")), [&] {
        const QAbstractItemModel* model = control<QTableView>(w.orders, "DBGrid1")->model();
        QStringList dates;
        for (int row = 0; row < model->rowCount(); ++row) {
            dates.append(model->index(row, 5).data().toString());
        }
        QCOMPARE(dates, QStringList({"12/1/2026", "3/4/2099"}));
        w.orders.close();
    });
    QLocale::setDefault(saved);
}

void KeyboardTest::fixedDialogsCannotBeMinimised() {
    ShownSession session;
    auto& [folder, answers, w] = session;
    const struct {
        QDialog* dialog;
        const char* command;
    } dialogs[] = {
        {&w.editor, "add"}, {&w.order, "order"}, {&w.orders, "orders"}, {&w.about, "about"}};
    for (const auto& d : dialogs) {
        const Qt::WindowFlags flags = d.dialog->windowFlags();
        QVERIFY2(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)),
                 d.command);
        QVERIFY2(flags & Qt::WindowCloseButtonHint, d.command);
        insideDialog(*d.dialog, w.main.action(QString::fromLatin1(d.command)), [&] {
            d.dialog->setWindowState(Qt::WindowMinimized);
            QTRY_VERIFY2(!(d.dialog->windowState() & Qt::WindowMinimized), d.command);
            QVERIFY(d.dialog->isVisible());
            d.dialog->done(QDialog::Rejected);
        });
    }
}

void KeyboardTest::fileDialogsLeaveNoSettingsBehind() {
    QTemporaryDir home;
    // Where the toolkit's dialogs would keep their state, had the program not moved it.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    ui::keepDialogSettingsForThisRunOnly();
    {
        QFileDialog dialog(nullptr, QStringLiteral("x"), home.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        dialog.close();
    }
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
