#include <QAccessible>
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include "forms/picturebox.h"
#include "tests/support.h"

namespace {

// Pictures of the windows land in screens/ beside the test, for a person to look at; those of
// a high-density run (QT_SCALE_FACTOR=2) are named "...@2x".
void snapshot(QWidget& window, const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(folder);
    const QString suffix = qApp->devicePixelRatio() > 1 ? QStringLiteral("@2x") : QString();
    QVERIFY(window.grab().save(folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png")));
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// The designed places, sizes and captions of one window (layout.tsv), against the window as
// it stands. "-" leaves a value unchecked; "(frame)" is the window's outer size, "(client)"
// its client area at its place on the screen, "Grid:N" column N of a grid.
void checkLayout(const QString& window, QWidget& form) {
    QFile table(QFINDTESTDATA("layout.tsv"));
    QVERIFY2(table.open(QIODevice::ReadOnly | QIODevice::Text), "layout.tsv is missing");
    int rows = 0;
    while (!table.atEnd()) {
        const QString line = QString::fromUtf8(table.readLine()).chopped(1);
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || cells.size() < 7 || cells[0] != window) {
            continue;
        }
        ++rows;
        const QString& control = cells[1];
        QRect actual;
        QString text;
        if (control == QLatin1String("(frame)")) {
            actual = form.frameGeometry();
            text = form.windowTitle();
        } else if (control == QLatin1String("(client)")) {
            actual = QRect(form.pos(), form.size());
            text = form.windowTitle();
        } else if (control.contains(QLatin1Char(':'))) {
            auto* grid = form.findChild<QTableView*>(control.section(QLatin1Char(':'), 0, 0));
            QVERIFY2(grid, qPrintable(control));
            const int column = control.section(QLatin1Char(':'), 1).toInt();
            actual = QRect(0, 0, grid->columnWidth(column), 0);
            text = grid->model()->headerData(column, Qt::Horizontal).toString();
        } else {
            auto* widget = form.findChild<QWidget*>(control);
            QVERIFY2(widget, qPrintable(window + QLatin1Char(' ') + control));
            actual = widget->geometry();
            text = widget->property("text").toString();
        }
        const int values[] = {actual.x(), actual.y(), actual.width(), actual.height()};
        for (int i = 0; i < 4; ++i) {
            if (cells[2 + i] != QLatin1String("-")) {
                QVERIFY2(values[i] == cells[2 + i].toInt(),
                         qPrintable(QStringLiteral("%1 %2: column %3 is %4")
                                        .arg(window, control)
                                        .arg(3 + i)
                                        .arg(values[i])));
            }
        }
        if (cells[6] != QLatin1String("-")) {
            QCOMPARE(text, cells[6]);
        }
    }
    QVERIFY2(rows > 0, qPrintable(window));
}

// The sample menu with plates as large as the pictures a user adds, and two orders; the
// windows shown.
struct PlatedSession : Session {
    PlatedSession() : Session(sampleMenu(plate())) {
        folder.addOrder(1, QStringLiteral("Асан Серікұлы"), 2, 3500, QStringLiteral("2026-12-06"));
        folder.addOrder(3, QStringLiteral("Айгүл Нұрланқызы"), 4, 90, QStringLiteral("2026-12-07"));
    }
    static QByteArray plate() {
        QImage plate(200, 150, QImage::Format_RGB32);
        plate.fill(QColor(250, 240, 220));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        plate.save(&buffer, "BMP");
        return bytes;
    }
};

}  // namespace

// Every window at its designed size and place, checked against layout.tsv and rendered for a
// look.
class ScreensTest : public QObject {
    Q_OBJECT

private slots:
    void mainWindowAfterASearch();
    void dishEditorInBothModes();
    void orderEntry();
    void ordersView();
    void aboutBox();
    void accessibleNames();
    void picturesAtTheScreensRatio();
};

void ScreensTest::mainWindowAfterASearch() {
    PlatedSession session;
    auto& [folder, answers, w] = session;
    checkLayout(QStringLiteral("main"), w.main);
    QVERIFY(control<QRadioButton>(w.main, "RadioButton1")->isChecked());
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("ақ"));
    control<QRadioButton>(w.main, "RadioButton1")->click();
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 3"));
    snapshot(w.main, QStringLiteral("main"));
}

void ScreensTest::dishEditorInBothModes() {
    PlatedSession session;
    auto& [folder, answers, w] = session;
    w.editor.Mode = TForm2::InsertMode;
    QVERIFY(w.editor.FormShow());
    w.editor.show();
    checkLayout(QStringLiteral("editor"), w.editor);
    QVERIFY(control<QPushButton>(w.editor, "BitBtn2")->isDefault());
    snapshot(w.editor, QStringLiteral("editor-add"));
    w.editor.reject();

    control<QTableView>(w.main, "DBGrid1")->selectRow(1);
    w.editor.Mode = TForm2::EditMode;
    QVERIFY(w.editor.FormShow());
    w.editor.show();
    snapshot(w.editor, QStringLiteral("editor-change"));
    w.editor.reject();
}

void ScreensTest::orderEntry() {
    PlatedSession session;
    auto& [folder, answers, w] = session;
    QVERIFY(w.order.FormShow());
    w.order.show();
    checkLayout(QStringLiteral("order"), w.order);
    control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан Серікұлы"));
    QTest::keyClicks(control<QLineEdit>(w.order, "Edit2"), QStringLiteral("3"));
    snapshot(w.order, QStringLiteral("order"));
    w.order.reject();
}

void ScreensTest::ordersView() {
    PlatedSession session;
    auto& [folder, answers, w] = session;
    w.orders.FormShow();
    w.orders.show();
    checkLayout(QStringLiteral("orders"), w.orders);
    QVERIFY(control<QRadioButton>(w.orders, "RadioButton2")->isChecked());
    snapshot(w.orders, QStringLiteral("orders"));
    w.orders.close();
}

void ScreensTest::aboutBox() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    w.about.show();
    checkLayout(QStringLiteral("about"), w.about);
    snapshot(w.about, QStringLiteral("about"));
    // Esc does nothing; Enter closes it as OK does.
    QTest::keyClick(&w.about, Qt::Key_Escape);
    QVERIFY(w.about.isVisible());
    QTest::keyClick(&w.about, Qt::Key_Return);
    QVERIFY(!w.about.isVisible());
}

// A screen reader names every edit by its label, and every image-only toolbar button by its
// hint.
void ScreensTest::accessibleNames() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    for (QWidget* window :
         std::initializer_list<QWidget*>{&w.main, &w.editor, &w.order, &w.orders}) {
        for (QWidget* edit : window->findChildren<QWidget*>()) {
            const bool isEdit = qobject_cast<QLineEdit*>(edit) ||
                                qobject_cast<QPlainTextEdit*>(edit) ||
                                qobject_cast<QDateEdit*>(edit);
            if (!isEdit || edit->objectName().startsWith(QLatin1String("qt_"))) {
                continue;  // the toolkit's own parts, such as the line inside the date picker
            }
            const QString name = accessibleName(edit);
            QVERIFY2(!name.isEmpty(), qPrintable(edit->objectName()));
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->buddy() == edit) {
                    QCOMPARE(name, label->text());
                }
            }
        }
    }
    int buttons = 0;
    for (QAction* command : control<QToolBar>(w.main, "ToolBar1")->actions()) {
        if (!command->isSeparator()) {
            QCOMPARE(
                accessibleName(control<QToolBar>(w.main, "ToolBar1")->widgetForAction(command)),
                command->toolTip());
            ++buttons;
        }
    }
    QCOMPARE(buttons, 9);
}

// The icons, the glyph and the about picture are drawn at the screen's pixel ratio, not
// scaled up from their ordinary size; the layouts keep their places in the toolkit's units.
void ScreensTest::picturesAtTheScreensRatio() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    const qreal ratio = w.main.devicePixelRatioF();
    auto drawnAtRatio = [ratio](const QIcon& icon, QSize size) {
        const QPixmap pixmap = icon.pixmap(size, ratio);
        return pixmap.size() == size * ratio && pixmap.devicePixelRatio() == ratio;
    };
    for (QAction* command : control<QToolBar>(w.main, "ToolBar1")->actions()) {
        QVERIFY2(command->isSeparator() || drawnAtRatio(command->icon(), QSize(16, 16)),
                 qPrintable(command->objectName()));
    }
    QVERIFY(drawnAtRatio(control<QPushButton>(w.main, "BitBtn1")->icon(), QSize(18, 18)));
    QVERIFY(drawnAtRatio(control<QPushButton>(w.orders, "BitBtn2")->icon(), QSize(18, 18)));
    QVERIFY(drawnAtRatio(w.main.windowIcon(), QSize(32, 32)));
    w.about.show();
    QCOMPARE(control<QLabel>(w.about, "Image2")->pixmap().size(), QSize(400, 192) * ratio);
    checkLayout(QStringLiteral("about"), w.about);
    snapshot(w.about, QStringLiteral("about-ratio"));
    w.about.close();
}

QTEST_MAIN(ScreensTest)
#include "tst_screens.moc"
