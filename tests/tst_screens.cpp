#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include "forms/picturebox.h"
#include "tests/support.h"

namespace {

// Pictures of the windows land in screens/ beside the test, for a person to look at.
void snapshot(QWidget& window, const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    QVERIFY(window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
}

void addMenu(TestFolder& folder) {
    QImage plate(200, 150, QImage::Format_RGB32);
    plate.fill(QColor(250, 240, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plate.save(&buffer, "BMP");
    folder.addDish(1, QStringLiteral("Бесбармақ"), QStringLiteral("Ұлттық ет тағамдары"), 3500, 180,
                   QStringLiteral("Жылқы мен қой етінен, жұқа кесілген қамырмен."), bytes);
    folder.addDish(2, QStringLiteral("Бауырсақ"), QStringLiteral("Нан өнімдері"), 500, 30,
                   QStringLiteral("Майға қуырылған."), bytes);
    folder.addDish(3, QStringLiteral("Қуырдақ"), QStringLiteral("Ұлттық ет тағамдары"), 2800, 60,
                   QStringLiteral("Қой етінен."));
    folder.addOrder(1, QStringLiteral("Асан Серікұлы"), 2, 3500, QStringLiteral("2026-12-06"));
    folder.addOrder(2, QStringLiteral("Айгүл Нұрланқызы"), 4, 500, QStringLiteral("2026-12-07"));
}

}  // namespace

// Every window at its designed size and place, rendered for a look.
class ScreensTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowAfterASearch();
    void dishEditorInBothModes();
    void orderEntry();
    void ordersView();
    void aboutBox();
};

void ScreensTest::mainWindowAfterASearch() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    QCOMPARE(w.main.frameGeometry().height(), 480);
    QCOMPARE(w.main.Label1->pos(), QPoint(8, 40));
    QCOMPARE(w.main.BitBtn1->geometry(), QRect(336, 56, 75, 25));
    QCOMPARE(w.main.RadioButton1->geometry(), QRect(8, 88, 103, 17));
    QCOMPARE(w.main.RadioButton2->geometry(), QRect(112, 88, 113, 17));
    QCOMPARE(w.main.RadioButton3->geometry(), QRect(224, 88, 153, 17));
    QVERIFY(w.main.RadioButton1->isChecked());
    w.main.Edit1->setText(QStringLiteral("ақ"));
    w.main.RadioButton1->click();
    w.main.BitBtn1->click();
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 3"));
    snapshot(w.main, QStringLiteral("main"));
}

void ScreensTest::dishEditorInBothModes() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.editor.Mode = TForm2::InsertMode;
    QVERIFY(w.editor.FormShow());
    w.editor.show();
    QCOMPARE(w.editor.size(), QSize(465, 379));
    QCOMPARE(w.editor.pos(), QPoint(303, 220));
    QCOMPARE(w.editor.DBEdit2->geometry(), QRect(128, 40, 329, 21));
    QCOMPARE(w.editor.DBMemo1->geometry(), QRect(128, 136, 329, 89));
    QCOMPARE(w.editor.DBImage1->geometry(), QRect(128, 232, 185, 89));
    QCOMPARE(w.editor.BitBtn1->geometry(), QRect(320, 296, 137, 25));
    QCOMPARE(w.editor.BitBtn2->geometry(), QRect(256, 336, 97, 25));
    QCOMPARE(w.editor.BitBtn3->geometry(), QRect(360, 336, 97, 25));
    QVERIFY(w.editor.BitBtn2->isDefault());
    snapshot(w.editor, QStringLiteral("editor-add"));
    w.editor.reject();

    w.main.DBGrid1->selectRow(1);
    w.editor.Mode = TForm2::EditMode;
    QVERIFY(w.editor.FormShow());
    w.editor.show();
    snapshot(w.editor, QStringLiteral("editor-change"));
    w.editor.reject();
}

void ScreensTest::orderEntry() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    QVERIFY(w.order.FormShow());
    w.order.show();
    QCOMPARE(w.order.size(), QSize(365, 237));
    QCOMPARE(w.order.pos(), QPoint(293, 188));
    QCOMPARE(w.order.windowTitle(), QStringLiteral("Тапсырыс беру"));
    QCOMPARE(w.order.Label6->geometry(), QRect(8, 8, 345, 49));
    QCOMPARE(w.order.Edit1->geometry(), QRect(136, 64, 217, 21));
    QCOMPARE(w.order.dtp1->geometry(), QRect(136, 160, 89, 21));
    QCOMPARE(w.order.BitBtn1->geometry(), QRect(160, 200, 89, 25));
    QCOMPARE(w.order.BitBtn2->text(), QStringLiteral("Болдырмау"));
    w.order.Edit1->setText(QStringLiteral("Асан Серікұлы"));
    QTest::keyClicks(w.order.Edit2, QStringLiteral("3"));
    snapshot(w.order, QStringLiteral("order"));
    w.order.reject();
}

void ScreensTest::ordersView() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.orders.FormShow();
    w.orders.show();
    QCOMPARE(w.orders.size(), QSize(693, 387));
    QCOMPARE(w.orders.pos(), QPoint(262, 154));
    QCOMPARE(w.orders.DBGrid1->geometry(), QRect(8, 8, 673, 321));
    QCOMPARE(w.orders.DBGrid1->columnWidth(0), 193);
    QCOMPARE(w.orders.DBGrid1->columnWidth(1), 172);
    QCOMPARE(w.orders.DBGrid1->columnWidth(5), 68);
    QCOMPARE(w.orders.BitBtn2->geometry(), QRect(264, 336, 75, 25));
    QVERIFY(w.orders.RadioButton2->isChecked());
    snapshot(w.orders, QStringLiteral("orders"));
    w.orders.close();
}

void ScreensTest::aboutBox() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    w.about.show();
    QCOMPARE(w.about.size(), QSize(394, 167));
    QCOMPARE(w.about.windowTitle(), QStringLiteral("Программа туралы ..."));
    QCOMPARE(w.about.Label2->text(), QString(38, QLatin1Char('-')));
    QCOMPARE(w.about.BitBtn1->geometry(), QRect(304, 136, 75, 25));
    snapshot(w.about, QStringLiteral("about"));
    // Esc does nothing; Enter closes it as OK does.
    QTest::keyClick(&w.about, Qt::Key_Escape);
    QVERIFY(w.about.isVisible());
    QTest::keyClick(&w.about, Qt::Key_Return);
    QVERIFY(!w.about.isVisible());
}

QTEST_MAIN(ScreensTest)
#include "tst_screens.moc"
