#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "forms/picturebox.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/statements.h"
#include "tests/support.h"
#include "ui/messages.h"

// The main window as a user meets it: start-up, the layout rules, searching, sorting,
// deleting, and the question before the program ends.
class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startShowsTheMenuSortedByName();
    void emptyMenu();
    void missingOrDamagedBaseStillShowsTheWindow_data();
    void missingOrDamagedBaseStillShowsTheWindow();
    void layoutFollowsTheWindowSize();
    void closingAsksFirst();
    void errorBoxEndsInAFullStop_data();
    void errorBoxEndsInAFullStop();
    void commandsAndToolbar();
    void searchByName();
    void searchByPriceAndTime();
    void emptyOrBadSearchText();
    void titleClicksSort();
    void searchAndSortKeepEachOther();
    void deleteAsksAndTakesEveryDishOfThatName();
    void failedDeleteKeepsTheListWorking();
    void keysReachTheirCommands();
    void damagedBaseIsSaidAndNeverWritten();
    void readOnlyBaseIsReadAndNeverWritten();
    void currentDishStaysInView_data();
    void currentDishStaysInView();
};

void MainWindowTest::startShowsTheMenuSortedByName() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(w.main.windowTitle(), QStringLiteral("Орвелин - мәліметтер қоры"));
    // The Kazakh alphabet's order: Қ comes right after К, long before Ш.
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Бауырсақ"), QStringLiteral("Бесбармақ"),
                                           QStringLiteral("Қуырдақ"), QStringLiteral("Шай")}));
    QCOMPARE(w.gridColumn(2), QStringList({"90", "3500", "2800", "100"}));
    QCOMPARE(w.main.statusText(0), QStringLiteral("Барлығы: 4"));
    QCOMPARE(w.main.statusText(1), QStringLiteral("Сұрау бойынша табылды: 0"));

    // The first dish's picture and description, then those of whichever row becomes current.
    QCOMPARE(control<QPlainTextEdit>(w.main, "DBMemo1")->toPlainText(),
             QStringLiteral("Майға қуырылған"));
    QCOMPARE(control<forms::PictureBox>(w.main, "DBImage1")->pixmap().size(), QSize(8, 8));
    control<QTableView>(w.main, "DBGrid1")->selectRow(1);
    QCOMPARE(w.main.Query1->fieldByName(QStringLiteral("Code")).asInteger(), 1);
    QCOMPARE(control<QPlainTextEdit>(w.main, "DBMemo1")->toPlainText(),
             QStringLiteral("Жылқы етінен"));
    QCOMPARE(control<forms::PictureBox>(w.main, "DBImage1")->pixmap().size(), QSize(20, 10));
    control<QTableView>(w.main, "DBGrid1")->selectRow(2);
    QCOMPARE(control<QPlainTextEdit>(w.main, "DBMemo1")->toPlainText(),
             QStringLiteral("Қой етінен"));
    QVERIFY(control<forms::PictureBox>(w.main, "DBImage1")->pixmap().isNull());
    QVERIFY(control<QTableView>(w.main, "DBGrid1")->hasFocus() || !QApplication::focusWidget());
}

void MainWindowTest::emptyMenu() {
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    QCOMPARE(control<QTableView>(w.main, "DBGrid1")->model()->rowCount(), 0);
    QCOMPARE(w.main.statusText(0), QStringLiteral("Барлығы: 0"));
    QVERIFY(answers.messages.isEmpty());
}

void MainWindowTest::missingOrDamagedBaseStillShowsTheWindow_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");
    QTest::newRow("no base folder") << "folder"
                                    << "unable to open database file: ";
    QTest::newRow("garbage file") << "garbage"
                                  << "file is not a database: /";
    QTest::newRow("empty file, never rewritten") << "empty"
                                                 << "Базаның файлы бос (0 байт): ";
    QTest::newRow("no dish table") << "table"
                                   << "базасы ашылмады: онда goods кестесі жоқ.";
}

void MainWindowTest::missingOrDamagedBaseStillShowsTheWindow() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    Session session(damage == QLatin1String("table"));
    auto& [folder, answers, w] = session;
    if (damage == QLatin1String("table")) {
        folder.db().exec(QStringLiteral("drop table pictures; drop table goods"));
    } else if (damage == QLatin1String("empty")) {
        QVERIFY(writeFile(store::databasePath(folder.dataFolder()), {}));
    } else if (damage == QLatin1String("garbage")) {
        static const char garbage[] = "SQLite format 2\0 this is no database";
        QVERIFY(writeFile(store::databasePath(folder.dataFolder()),
                          QByteArray(garbage, sizeof garbage)));
    }
    w.show();
    QVERIFY(w.main.isVisible());
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(answers.messages[0].kind, ui::MessageKind::Error);
    QCOMPARE(answers.messages[0].caption, QStringLiteral("orvelin"));
    QVERIFY2(answers.lastText().contains(message), qPrintable(answers.lastText()));
    QVERIFY(answers.lastText().endsWith(QLatin1Char('.')));
    QCOMPARE(control<QTableView>(w.main, "DBGrid1")->model()->rowCount(), 0);
    QCOMPARE(w.main.statusText(0), QStringLiteral("Барлық мәліметтер: 150"));
    // The commands that need a dish say so instead of failing.
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(answers.lastText(), QStringLiteral("Өзгертетін тағам табылмады."));
    w.main.action(QStringLiteral("delete"))->trigger();
    QCOMPARE(answers.messages.size(), 2);
    if (damage == QLatin1String("empty")) {
        QCOMPARE(QFileInfo(store::databasePath(folder.dataFolder())).size(), 0);
    }
}

void MainWindowTest::layoutFollowsTheWindowSize() {
    QCOMPARE(mainLayoutFor(695, 480).nameColumnWidth, 230);
    QCOMPARE(mainLayoutFor(696, 480).nameColumnWidth, 231);
    QCOMPARE(mainLayoutFor(236, 480).nameColumnWidth, 1);  // (201 - 200) / 2 rounds up
    QCOMPARE(mainLayoutFor(234, 480).nameColumnWidth, -1);
    QCOMPARE(mainLayoutFor(695, 480).panelWidth, 228);  // 685 / 3 = 228.33
    QCOMPARE(mainLayoutFor(696, 480).panelWidth, 229);  // 686 / 3 = 228.67

    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    const int frame = w.main.frameGeometry().width() - w.main.width();
    for (int width : {695, 696}) {
        w.main.resize(width - frame, 500);
        QTRY_COMPARE(w.main.frameGeometry().width(), width);
        const int W = w.main.frameGeometry().width();
        const int H = w.main.frameGeometry().height();
        const int nameWidth = width == 695 ? 230 : 231;
        QCOMPARE(control<QTableView>(w.main, "DBGrid1")->columnWidth(0), nameWidth);
        QCOMPARE(control<QTableView>(w.main, "DBGrid1")->columnWidth(1), nameWidth);
        QCOMPARE(control<QTableView>(w.main, "DBGrid1")->columnWidth(2), 57);
        QCOMPARE(control<QTableView>(w.main, "DBGrid1")->columnWidth(3), 101);
        QCOMPARE(control<QTableView>(w.main, "DBGrid1")->geometry(),
                 QRect(8, 112, W - 35, H - 325));
        QCOMPARE(control<forms::PictureBox>(w.main, "DBImage1")->geometry(),
                 QRect(8, H - 200, 281, 121));
        QCOMPARE(control<QPlainTextEdit>(w.main, "DBMemo1")->geometry(),
                 QRect(312, H - 200, 361, 121));
        QCOMPARE(w.main.StatusPanels[2]->width(), qRound((W - 10) / 3.0));
        QCOMPARE(control<QLineEdit>(w.main, "Edit1")->geometry(), QRect(8, 56, 321, 21));
    }
    // Too small a window: nothing breaks, sizes stop at zero.
    w.main.resize(200, 300);
    QTRY_COMPARE(control<QTableView>(w.main, "DBGrid1")->height(), 0);
}

void MainWindowTest::closingAsksFirst() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("нан"));
    answers.answers = {false};
    QVERIFY(!w.main.close());
    QCOMPARE(
        answers.questions,
        QStringList({QStringLiteral("plain|Орвелин мәліметтер қоры|Программадан шығасыз ба?")}));
    QVERIFY(w.main.isVisible());
    QCOMPARE(control<QLineEdit>(w.main, "Edit1")->text(), QStringLiteral("нан"));
    QCOMPARE(control<QTableView>(w.main, "DBGrid1")->model()->rowCount(), 4);

    answers.answers = {true};
    w.main.action(QStringLiteral("exit"))->trigger();
    QVERIFY(!w.main.isVisible());
    QCOMPARE(answers.questions.size(), 2);
}

void MainWindowTest::errorBoxEndsInAFullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "no such table: goods"
                           << "no such table: goods.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("space") << "trailing "
                           << "trailing ";
    QTest::newRow("closing bracket") << "(x)"
                                     << "(x)";
    QTest::newRow("hyphen") << "a -"
                            << "a -";
    QTest::newRow("colon is after the full stop") << "reason:"
                                                  << "reason:.";
    QTest::newRow("slash") << "a/b/"
                           << "a/b/.";
    QTest::newRow("cyrillic") << "қате"
                              << "қате.";
    QTest::newRow("empty") << ""
                           << ".";
}

void MainWindowTest::errorBoxEndsInAFullStop() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    ScriptedDesktop answers;
    ui::errorBox(text);
    QCOMPARE(answers.lastText(), shown);
    QCOMPARE(answers.messages[0].caption, QStringLiteral("orvelin"));
}

void MainWindowTest::commandsAndToolbar() {
    Session session;
    auto& [folder, answers, w] = session;
    const QStringList menus = [&] {
        QStringList titles;
        for (QAction* menu : w.main.menuBar()->actions()) {
            titles.append(menu->text());
        }
        return titles;
    }();
    QCOMPARE(menus, QStringList({"Файл", "Мәліметтер", "Сервис", "Есеп", "Көмек"}));
    struct Expected {
        const char* name;
        const char* text;
        QKeySequence key;
        const char* hint;
    };
    const Expected expected[] = {
        {"save", "Сақтау", QKeySequence("Ctrl+S"), "Сақтау"},
        {"print", "Баспаға шығару", QKeySequence("Ctrl+P"), "Баспаға шығару"},
        {"exit", "Шығу", QKeySequence("Alt+F4"), nullptr},
        {"orders", "Тапсырыстар", QKeySequence("Ctrl+K"), "Тапсырыстар кестесі"},
        {"add", "Жаңадан қосу", QKeySequence("Ctrl+A"), "Жаңадан қосу"},
        {"change", "Мәліметті өзгерту", QKeySequence("Ctrl+Ins"), "Мәліметті өзгерту"},
        {"delete", "Тағамды өшіру", QKeySequence("Ctrl+Del"), "Мәліметті өшіру"},
        {"order", "Тапсырыс беру", QKeySequence("Ctrl+T"), "Тапсырыс беру"},
        {"report", "Менюді шығару", QKeySequence("F3"), "Веб-парақ түріндегі есеп"},
        {"about", "Программа туралы ...", QKeySequence("F1"), "Программа туралы ..."},
    };
    for (const Expected& e : expected) {
        QAction* action = w.main.action(QString::fromLatin1(e.name));
        QVERIFY2(action, e.name);
        QCOMPARE(action->text(), QString::fromUtf8(e.text));
        QCOMPARE(action->shortcut(), e.key);
        QVERIFY(action->isEnabled());
        QVERIFY(!action->icon().isNull());
        if (e.hint) {
            QCOMPARE(action->toolTip(), QString::fromUtf8(e.hint));
        }
    }
    QStringList toolbar;
    for (QAction* action : control<QToolBar>(w.main, "ToolBar1")->actions()) {
        toolbar.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
    }
    QCOMPARE(toolbar, QStringList({"save", "print", "|", "orders", "|", "add", "change", "delete",
                                   "|", "order", "|", "report", "|", "about"}));
}

void MainWindowTest::searchByName() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;

    // Empty text: every dish with a name, the one with time 0 included.
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(0).size(), 5);
    QCOMPARE(answers.lastText(), QStringLiteral("Сіздің сұрауыңыз бойынша 5 нәтиже табылды !!!"));
    QCOMPARE(answers.messages.last().kind, ui::MessageKind::Information);
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 5"));
    QCOMPARE(w.main.statusText(0), QStringLiteral("Барлығы: 4"));

    // Lower-case Kazakh text finds the capitalised name.
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("қуыр"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Қуырдақ")}));
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("НАН"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Таба нан")}));
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("%"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(0), QStringList());
    QCOMPARE(answers.lastText(), QStringLiteral("Сіздің сұрауыңыз бойынша 0 нәтиже табылды !!!"));
}

void MainWindowTest::searchByPriceAndTime() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    QCOMPARE(w.main.statusText(2), QStringLiteral("Таңдау өрісі: бағасы бойынша"));
    auto search = [&](const QString& text) {
        control<QLineEdit>(w.main, "Edit1")->setText(text);
        control<QPushButton>(w.main, "BitBtn1")->click();
        return w.gridColumn(0);
    };
    QCOMPARE(search(QStringLiteral("<100")), QStringList({QStringLiteral("Бауырсақ")}));
    QCOMPARE(search(QStringLiteral("100")),
             QStringList({QStringLiteral("Таба нан"), QStringLiteral("Шай")}));
    QCOMPARE(search(QStringLiteral(">=2800")).size(), 2);
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 2"));

    control<QRadioButton>(w.main, "RadioButton3")->click();
    QCOMPARE(w.main.statusText(2), QStringLiteral("Таңдау өрісі: жасы бойынша"));
    QCOMPARE(search(QStringLiteral("<=0")), QStringList({QStringLiteral("Таба нан")}));
    QCOMPARE(search(QStringLiteral("60")), QStringList({QStringLiteral("Қуырдақ")}));
    control<QRadioButton>(w.main, "RadioButton1")->click();
    QCOMPARE(w.main.statusText(2), QStringLiteral("Таңдау өрісі: аты бойынша"));
}

void MainWindowTest::emptyOrBadSearchText() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton3")->click();
    const QStringList shownBefore = w.gridColumn(0);
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(answers.texts(), QStringList({QStringLiteral("Алдымен сөзді енгізіңіз.")}));
    QCOMPARE(w.gridColumn(0), shownBefore);
    QVERIFY(w.main.Query1->isOpen());
    QCOMPARE(w.gridColumn(0).size(), 4);
    QCOMPARE(w.main.statusText(1), QStringLiteral("Сұрау бойынша табылды: 0"));

    // Not a comparison: a clear error, the list closed, no count box, panel 1 as it was.
    control<QRadioButton>(w.main, "RadioButton2")->click();
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("<5 or 1=1")}) {
        answers.messages.clear();
        control<QLineEdit>(w.main, "Edit1")->setText(text);
        control<QPushButton>(w.main, "BitBtn1")->click();
        QCOMPARE(answers.messages.size(), 1);
        QCOMPARE(answers.messages[0].kind, ui::MessageKind::Error);
        QVERIFY(answers.lastText().startsWith(QLatin1Char('\'') + text + QLatin1Char('\'')));
        QVERIFY(!w.main.Query1->isOpen());
        QCOMPARE(w.gridColumn(0).size(), 0);
        QCOMPARE(w.main.statusText(1), QStringLiteral("Сұрау бойынша табылды: 0"));
    }
    // A title click after the refusal shows it again and keeps the list closed.
    answers.messages.clear();
    QHeaderView* titles = control<QTableView>(w.main, "DBGrid1")->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(titles->sectionViewportPosition(2) + 10, titles->height() / 2));
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY(answers.lastText().startsWith(QStringLiteral("'<5 or 1=1'")));
    QVERIFY(!w.main.Query1->isOpen());
    QCOMPARE(w.gridColumn(0).size(), 0);
    // The next good search fills the list again.
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">1000"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(0).size(), 2);
}

void MainWindowTest::titleClicksSort() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    QHeaderView* titles = control<QTableView>(w.main, "DBGrid1")->horizontalHeader();
    auto clickTitle = [&](int column) {
        const QPoint centre(titles->sectionViewportPosition(column) + 10, titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    };
    const QStringList byName = {QStringLiteral("Бауырсақ"), QStringLiteral("Бесбармақ"),
                                QStringLiteral("Қуырдақ"), QStringLiteral("Шай")};
    QStringList reversed = byName;
    std::reverse(reversed.begin(), reversed.end());

    clickTitle(0);
    QCOMPARE(w.gridColumn(0), reversed);
    clickTitle(0);
    QCOMPARE(w.gridColumn(0), byName);
    clickTitle(0);
    clickTitle(2);  // the flag is shared: name descending, then price ascending
    QCOMPARE(w.gridColumn(2), QStringList({"90", "100", "2800", "3500"}));

    // A double click is two clicks: the direction comes back to what it was.
    const QPoint centre(titles->sectionViewportPosition(3) + 10, titles->height() / 2);
    // As the desktop delivers one: press, release, double-click press, release.
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseDClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(w.gridColumn(3), QStringList({"5", "30", "60", "180"}));
    clickTitle(1);
    const QStringList byGroupDescending = {QStringLiteral("Бесбармақ"), QStringLiteral("Шай"),
                                           QStringLiteral("Бауырсақ"), QStringLiteral("Қуырдақ")};
    QCOMPARE(w.gridColumn(0), byGroupDescending);

    // Only a press and a release on the same title is a click: dragging into the grid's
    // body, or onto another title, sorts nothing.
    const QPoint onName(titles->sectionViewportPosition(0) + 10, titles->height() / 2);
    const QPoint onPrice(titles->sectionViewportPosition(2) + 10, titles->height() / 2);
    for (const QPoint release : {QPoint(onName.x(), titles->height() + 40), onPrice}) {
        QTest::mousePress(titles->viewport(), Qt::LeftButton, Qt::NoModifier, onName);
        QTest::mouseRelease(titles->viewport(), Qt::LeftButton, Qt::NoModifier, release);
        QCOMPARE(w.gridColumn(0), byGroupDescending);
    }
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, Qt::NoModifier, onName);  // no press
    QCOMPARE(w.gridColumn(0), byGroupDescending);
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(w.main.statusText(1), QStringLiteral("Сұрау бойынша табылды: 0"));
}

void MainWindowTest::searchAndSortKeepEachOther() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("<=2800"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    w.main.DBGrid1TitleClick(2);  // price descending, search kept
    QCOMPARE(w.gridColumn(2), QStringList({"2800", "100", "100", "90"}));
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("100"));
    control<QPushButton>(w.main, "BitBtn1")->click();  // search keeps the sort
    QCOMPARE(w.gridColumn(0).size(), 2);
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">=100"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.gridColumn(2), QStringList({"3500", "2800", "100", "100"}));
}

void MainWindowTest::deleteAsksAndTakesEveryDishOfThatName() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    folder.addDish(6, QStringLiteral("Шай"), QStringLiteral("Сусындар"), 150, 5);
    folder.addDish(7, QStringLiteral("Қыз'дың \"шайы\""), QStringLiteral("Сусындар"), 150, 5);
    folder.addDish(8, QStringLiteral("Шай%"), QStringLiteral("Сусындар"), 150, 5);
    w.show();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("ша"));
    control<QPushButton>(w.main, "BitBtn1")->click();  // a search, which the delete drops
    const QString foundStatus = w.main.statusText(1);
    control<QTableView>(w.main, "DBGrid1")
        ->selectRow(static_cast<int>(w.gridColumn(0).indexOf(QStringLiteral("Шай"))));

    answers.answers = {false};
    w.main.action(QStringLiteral("delete"))->trigger();
    QCOMPARE(answers.questions.last(),
             QStringLiteral("confirm|Confirm|Таңдағаныңызды өшіресіз бе?"));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 8);

    answers.answers = {true};
    w.main.action(QStringLiteral("delete"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods where Nm = 'Шай'")).toInt(),
             0);
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 6);
    // The search is dropped: the whole menu is listed, the dish with time 0 not.
    QCOMPARE(w.gridColumn(0).size(), 5);
    QVERIFY(!w.gridColumn(0).contains(QStringLiteral("Таба нан")));
    QCOMPARE(w.main.statusText(0), QStringLiteral("Барлығы: 5"));
    QCOMPARE(w.main.statusText(1), foundStatus);

    // Quotes in a name delete exactly that dish.
    control<QTableView>(w.main, "DBGrid1")
        ->selectRow(static_cast<int>(w.gridColumn(0).indexOf(QStringLiteral("Қыз'дың \"шайы\""))));
    answers.answers = {true};
    w.main.action(QStringLiteral("delete"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 5);
    QVERIFY(w.gridColumn(0).contains(QStringLiteral("Шай%")));
    QCOMPARE(answers.messages.size(), 1);  // only the search's count box
}

void MainWindowTest::failedDeleteKeepsTheListWorking() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    // Made under the running program: a base that opens with it is refused.
    folder.db().exec(
        QStringLiteral("create trigger keep before delete on goods begin select "
                       "raise(abort, 'the menu is locked'); end"));
    w.main.DBGrid1TitleClick(2);
    answers.answers = {true};
    w.main.action(QStringLiteral("delete"))->trigger();
    QCOMPARE(answers.lastText(), QStringLiteral("the menu is locked."));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 5);
    QCOMPARE(w.gridColumn(0).size(), 4);
    w.main.DBGrid1TitleClick(0);  // sorting works again
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Бауырсақ"), QStringLiteral("Бесбармақ"),
                                           QStringLiteral("Қуырдақ"), QStringLiteral("Шай")}));
    QCOMPARE(answers.messages.size(), 1);
}

void MainWindowTest::keysReachTheirCommands() {
    Session session(sampleMenu());
    auto& [folder, answers, w] = session;
    w.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.main));

    // Enter in the search box searches; in the description box it does not.
    control<QLineEdit>(w.main, "Edit1")->setFocus();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("бе"));
    QTest::keyClick(control<QLineEdit>(w.main, "Edit1"), Qt::Key_Return);
    QCOMPARE(answers.lastText(), QStringLiteral("Сіздің сұрауыңыз бойынша 1 нәтиже табылды !!!"));
    control<QPlainTextEdit>(w.main, "DBMemo1")->setFocus();
    QTest::keyClick(control<QPlainTextEdit>(w.main, "DBMemo1"), Qt::Key_Return);
    QCOMPARE(answers.messages.size(), 1);
    control<QLineEdit>(w.main, "Edit1")->setFocus();  // Enter on the number pad searches too
    QTest::keyClick(control<QLineEdit>(w.main, "Edit1"), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(answers.messages.size(), 2);
    answers.messages.removeLast();

    // Ctrl+Delete in the search box deletes the dish, not a word of the text.
    control<QLineEdit>(w.main, "Edit1")->setFocus();
    answers.answers = {false};
    QTest::keyClick(control<QLineEdit>(w.main, "Edit1"), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(answers.questions.size(), 1);
    QCOMPARE(control<QLineEdit>(w.main, "Edit1")->text(), QStringLiteral("бе"));
}

void MainWindowTest::damagedBaseIsSaidAndNeverWritten() {
    Session session;
    auto& [folder, answers, w] = session;
    folder.db().exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 3000) "
        "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) select i, 'Тағам ' || i, 'Топ', "
        "4, i, 5, 'Сипаттама' from n; PRAGMA wal_checkpoint(TRUNCATE)"));
    const QString base = store::databasePath(folder.dataFolder());
    {
        QFile file(base);  // a page in the middle of the menu, overwritten
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(19 * 4096);
        file.write(QByteArray(4096, '\xFF'));
    }
    auto bytes = [&] {
        QFile file(base);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };
    const QByteArray damaged = bytes();
    w.show();
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY2(answers.lastText().contains(
                 QStringLiteral("базасының файлы бүлінген; оны сақтық көшірмеден")),
             qPrintable(answers.lastText()));
    QVERIFY(answers.lastText().contains(base));
    // Writing commands are refused from then on, and say why.
    whileModal(w.editor, [&] {
        control<QLineEdit>(w.editor, "DBEdit1")->setText(QStringLiteral("9999"));
        control<QLineEdit>(w.editor, "DBEdit2")->setText(QStringLiteral("Жаңа"));
        control<QLineEdit>(w.editor, "DBEdit3")->setText(QStringLiteral("Топ"));
        control<QLineEdit>(w.editor, "DBEdit6")->setText(QStringLiteral("5"));
        control<QPlainTextEdit>(w.editor, "DBMemo1")->setPlainText(QStringLiteral("Сипаттама"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QVERIFY2(answers.lastText().startsWith(QStringLiteral("%1 базасының файлы бүлінген, сондықтан "
                                                          "оған ештеңе жазылмайды")
                                               .arg(base)),
             qPrintable(answers.lastText()));
    QVERIFY(bytes() == damaged);
    QCOMPARE(QFileInfo(base + QStringLiteral("-wal")).size(), 0);
}

void MainWindowTest::readOnlyBaseIsReadAndNeverWritten() {
    // A base on a disk mounted read-only, without the -shm file its log would need.
    QTemporaryDir mount;
    auto run = [](const QStringList& arguments) {
        return QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    };
    if (::geteuid() != 0 ||
        !run({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
              QStringLiteral("size=8m"), QStringLiteral("tmpfs"), mount.path()})) {
        QSKIP("mounting a read-only disk needs the superuser");
    }
    // Unmounted however the test ends.
    const auto unmount = qScopeGuard([&] {
        store::forgetConnections();
        store::setProgramFolder(QString());
        QProcess::execute(QStringLiteral("umount"), {mount.path()});
    });
    const QString base = mount.path() + QStringLiteral("/base/orvelin.db");
    QDir(mount.path()).mkpath(QStringLiteral("base"));
    {
        auto db = store::Database::create(base);
        db->exec(
            QStringLiteral("insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) values "
                           "(1, 'Шай', 'Сусын', 4, 100, 5, 'Қара шай'), (2, 'Палау', "
                           "'Күріш', 4, 2200, 75, 'Қой етімен'), (3, 'Қазы', 'Ет', 4, 900, 30, "
                           "'Жылқы етінен'); insert into orders values "
                           "(1, 'Асан', 2, 100, 200, '2026-12-01')"));
        // Sort keys made by another ICU, in the wrong order: a base that cannot be written
        // sorts with keys of its own.
        db->exec(QStringLiteral(
            "delete from sortkeys_due; insert into sortkeys values (1, x'01', x'01'), (2, x'02', "
            "x'02'), (3, x'03', x'03'); update sortkeys_version set Version = '1.0'"));
    }
    QVERIFY(run({QStringLiteral("-o"), QStringLiteral("remount,ro"), mount.path()}));
    {
        store::setProgramFolder(mount.path());
        ScriptedDesktop answers;
        Windows w;
        w.show();
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
        QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Қазы"), QStringLiteral("Палау"),
                                               QStringLiteral("Шай")}));
        QCOMPARE(control<QPlainTextEdit>(w.main, "DBMemo1")->toPlainText(),
                 QStringLiteral("Жылқы етінен"));
        whileModal(w.orders, [&] {
            QCOMPARE(control<QTableView>(w.orders, "DBGrid1")->model()->rowCount(), 1);
            w.orders.close();
        });
        w.main.action(QStringLiteral("orders"))->trigger();
        answers.answers = {true};
        w.main.action(QStringLiteral("delete"))->trigger();
        QCOMPARE(answers.messages.size(), 1);
        QVERIFY2(
            answers.lastText().startsWith(QStringLiteral("%1 базасы тек оқуға ашылды").arg(base)),
            qPrintable(answers.lastText()));
        store::forgetConnections();
    }
}

void MainWindowTest::currentDishStaysInView_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fromLast");  // Ctrl+End first; otherwise the first dish is current
    QTest::newRow("maximised and restored") << "resize" << true;
    QTest::newRow("sorted") << "sort" << true;
    QTest::newRow("searched") << "search" << true;
    QTest::newRow("changed in the editor") << "edit" << true;
    QTest::newRow("walked by the menu report") << "report" << false;
}

void MainWindowTest::currentDishStaysInView() {
    QFETCH(QString, change);
    QFETCH(bool, fromLast);
    Session session;
    auto& [folder, answers, w] = session;
    for (int code = 1; code <= 60; ++code) {
        folder.addDish(code, QStringLiteral("Тағам %1").arg(code, 2, 10, QLatin1Char('0')),
                       QStringLiteral("Топ"), 100 + code, 5);
    }
    w.show();
    QTableView* grid = control<QTableView>(w.main, "DBGrid1");
    grid->setFocus();
    QTest::keyClick(grid, fromLast ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(w.main.Query1->currentRow(), fromLast ? 59 : 0);
    const QSize restored = w.main.size();
    if (change == QLatin1String("resize")) {
        w.main.resize(restored.width() + 400, 1600);  // every row fits: the grid scrolls back
        QTRY_COMPARE(grid->verticalScrollBar()->maximum(), 0);
        w.main.resize(restored);
        QTRY_VERIFY(grid->verticalScrollBar()->maximum() > 0);
    } else if (change == QLatin1String("sort")) {
        w.main.DBGrid1TitleClick(0);
    } else if (change == QLatin1String("search")) {
        control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("Тағам"));
        control<QPushButton>(w.main, "BitBtn1")->click();
    } else if (change == QLatin1String("edit")) {
        whileModal(w.editor, [&] { control<QPushButton>(w.editor, "BitBtn2")->click(); });
        w.main.action(QStringLiteral("change"))->trigger();
    } else {
        w.main.action(QStringLiteral("report"))->trigger();
    }
    // The dish the picture, the description and every command are about is in view.
    const int current = w.main.Query1->currentRow();
    QCOMPARE(grid->currentIndex().row(), current);
    const QRect row = grid->visualRect(grid->currentIndex());
    QVERIFY2(row.top() >= 0 && row.bottom() < grid->viewport()->height(),
             qPrintable(QStringLiteral("row %1 at %2..%3 of %4")
                            .arg(current)
                            .arg(row.top())
                            .arg(row.bottom())
                            .arg(grid->viewport()->height())));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
