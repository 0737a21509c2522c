#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include "forms/picturebox.h"
#include "reports/htmlreport.h"
#include "tests/support.h"
#include "ui/desktop.h"

namespace {

// The expected files, byte for byte: UTF-8 after its byte order mark, CR LF line ends;
// {DIR} stands for the program folder.
#define BOM "\xEF\xBB\xBF"

// The title row both dish reports share: №, the picture, then the four grid columns.
#define DISH_TITLE_ROW                                       \
    "<table border=1><tr><td><b>№</b></td>\r\n"            \
    "<td><b>Суреті</b></td>\r\n"                       \
    "<td><b>Атауы</b></td>\r\n"                         \
    "<td><b>Тобы</b></td>\r\n"                           \
    "<td><b>Бағасы</b></td>\r\n"                       \
    "<td><b>Дайын. уақыты (мин.)</b></td>\r\n" \
    "</tr>\r\n"

const char kMenuReport[] = BOM
    "<html><body>\r\n"
    "<h3>Меню</h3>\r\n" DISH_TITLE_ROW
    "<tr><td>1</td>\r\n"
    "<td><img width=200 height=200 src=\"{DIR}/img/1.bmp\"\\></td>\r\n"
    "<td>Бесбармақ</td>\r\n"
    "<td>Ұлттық ет</td>\r\n"
    "<td>3500</td>\r\n"
    "<td>180</td>\r\n"
    "</tr>\r\n"
    "<tr><td>2</td>\r\n"
    "<td><img width=200 height=0 src=\"{DIR}/img/2.bmp\"\\></td>\r\n"
    "<td>Қуырдақ &lt;&amp;&gt; &quot;ыстық&quot;</td>\r\n"
    "<td>Ет</td>\r\n"
    "<td>2800</td>\r\n"
    "<td>60</td>\r\n"
    "</tr>\r\n"
    "<tr><td>3</td>\r\n"
    "<td><img width=200 height=67 src=\"{DIR}/img/3.bmp\"\\></td>\r\n"
    "<td>Шай</td>\r\n"
    "<td>Сусындар ☕</td>\r\n"
    "<td>100</td>\r\n"
    "<td>5</td>\r\n"
    "</tr>\r\n"
    "</table></body></html>\r\n";
const char kEmptyMenuReport[] = BOM
    "<html><body>\r\n"
    "<h3>Меню</h3>\r\n" DISH_TITLE_ROW "</table></body></html>\r\n";
const char kSavedReport[] = BOM
    "<html><body>\r\n"
    "<h3>Сұрау бойынша табылған нәтижелер</h3>\r\n" DISH_TITLE_ROW
    "<tr><td>1</td>\r\n"
    "<td><img width=200 height=200 src=\"{DIR}/img/1.bmp\"\\></td>\r\n"
    "<td>Бесбармақ</td>\r\n"
    "<td>Ұлттық ет</td>\r\n"
    "<td>3500</td>\r\n"
    "<td>180</td>\r\n"
    "</tr>\r\n"
    "<tr><td>2</td>\r\n"
    "<td><img width=200 height=0 src=\"{DIR}/img/2.bmp\"\\></td>\r\n"
    "<td>Қуырдақ &lt;&amp;&gt; &quot;ыстық&quot;</td>\r\n"
    "<td>Ет</td>\r\n"
    "<td>2800</td>\r\n"
    "<td>60</td>\r\n"
    "</tr>\r\n"
    "<tr><td>3</td>\r\n"
    "<td><img width=200 height=0 src=\"{DIR}/img/3.bmp\"\\></td>\r\n"
    "<td>Таба нан</td>\r\n"
    "<td>Нан</td>\r\n"
    "<td>350</td>\r\n"
    "<td>0</td>\r\n"
    "</tr>\r\n"
    "</table></body></html>\r\n";
const char kOrdersReport[] = BOM
    "<html><head><title>Тапсырыстар кестесі</title></head><body>\r\n"
    "<h3>Тапсырыстар кестесі</h3>\r\n"
    "<table border=1><tr><td><b>№</b></td>\r\n"
    "<td><b>Уақыты</b></td>\r\n"
    "<td><b>Официанттың аты-жөні</b></td>\r\n"
    "<td><b>Тапсырысы</b></td>\r\n"
    "<td><b>Саны</b></td>\r\n"
    "<td><b>Бағасы</b></td>\r\n"
    "<td><b>Сомасы</b></td>\r\n"
    "</tr>\r\n"
    "<tr><td>1</td>\r\n"
    "<td>15.05.2007</td>\r\n"
    "<td>Асан</td>\r\n"
    "<td>Бесбармақ</td>\r\n"
    "<td>2</td>\r\n"
    "<td>3500</td>\r\n"
    "<td>7000</td>\r\n"
    "</tr>\r\n"
    "<tr><td>2</td>\r\n"
    "<td>01.12.2026</td>\r\n"
    "<td>Әлия Ғалымқызы</td>\r\n"
    "<td>Шай</td>\r\n"
    "<td>3</td>\r\n"
    "<td>2,5</td>\r\n"
    "<td>7,5</td>\r\n"
    "</tr>\r\n"
    "</table></body></html>\r\n";

QByteArray expected(const char* text, const QString& folder) {
    return QByteArray(text).replace("{DIR}", QFile::encodeName(folder));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Lines of two byte arrays side by side, so a failure shows where they part.
void compareLines(const QByteArray& actual, const QByteArray& wanted) {
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> b = wanted.split('\n');
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        QCOMPARE(a[i].toHex(' '), b[i].toHex(' '));
    }
    QCOMPARE(a.size(), b.size());
}

// The reports' menu: names and groups with characters HTML escapes, pictures of odd sizes.
QList<Dish> reportMenu() {
    return {
        {1, QStringLiteral("Бесбармақ"), QStringLiteral("Ұлттық ет"), 3500, 180,
         QStringLiteral("Ет"), sampleBitmap(2, 2, Qt::red)},
        {2, QStringLiteral("Қуырдақ <&> \"ыстық\""), QStringLiteral("Ет"), 2800, 60},
        {3, QStringLiteral("Шай"), QStringLiteral("Сусындар ☕"), 100, 5, QStringLiteral("Шай"),
         sampleBitmap(3, 1, Qt::blue)},
        {4, QStringLiteral("Таба нан"), QStringLiteral("Нан"), 350, 0},
    };
}

}  // namespace

// The HTML table reports: every byte of the three files, their pictures, and the ways
// writing them can fail.
class ReportsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void menuReport();
    void emptyMenuReport();
    void savedResultsOfASearchInSortOrder();
    void savedResultsNaming();
    void ordersReportFollowsDraggedColumns();
    void laterReportsOverwriteByNumber();
    void missingPictureFolderStopsTheReport();
    void reportFileThatCannotBeWritten();
    void closedListWritesNoReport();
    void picturePathsAreEncoded_data();
    void picturePathsAreEncoded();
    void valuesKeepOneItemPerLine_data();
    void valuesKeepOneItemPerLine();
    void savingAsksAboutTheFileItWrites();
    void outputTargets_data();
    void outputTargets();
    void pictureHeightKeepsItsShape_data();
    void pictureHeightKeepsItsShape();
    void reportThatNothingOpensIsSaidPlainly_data();
    void reportThatNothingOpensIsSaidPlainly();
    void xdgOpenFailuresReachTheProgram_data();
    void xdgOpenFailuresReachTheProgram();
};

void ReportsTest::menuReport() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    w.main.action(QStringLiteral("report"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QString path = folder.path() + QStringLiteral("/current.doc");
    compareLines(readAll(path), expected(kMenuReport, folder.path()));
    QCOMPARE(answers.opened, QStringList({path}));
    QCOMPARE(answers.openedFolder, folder.path());
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/1.bmp")), sampleBitmap(2, 2, Qt::red));
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/2.bmp")), QByteArray());
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), sampleBitmap(3, 1, Qt::blue));
    // The walk leaves the list on its last dish, and the window shows it.
    QCOMPARE(w.main.Query1->currentRow(), 2);
    QCOMPARE(control<QTableView>(w.main, "DBGrid1")->currentIndex().row(), 2);
    QVERIFY(!control<forms::PictureBox>(w.main, "DBImage1")->pixmap().isNull());
}

void ReportsTest::emptyMenuReport() {
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    w.main.action(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/current.doc")),
             expected(kEmptyMenuReport, folder.path()));
    QVERIFY(answers.messages.isEmpty());
}

void ReportsTest::savedResultsOfASearchInSortOrder() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">=350"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    w.main.DBGrid1TitleClick(2);  // price, descending
    answers.messages.clear();
    answers.saveName = folder.path() + QStringLiteral("/menu");
    w.main.action(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.saveTitle, QStringLiteral("Сақтау"));
    QCOMPARE(answers.saveFilter, QStringLiteral("Web-парақ (*.htm)"));
    compareLines(readAll(folder.path() + QStringLiteral("/menu.html")),
                 expected(kSavedReport, folder.path()));
    QVERIFY(answers.opened.isEmpty());  // saved results are not opened
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 3"));
}

void ReportsTest::savedResultsNaming() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    answers.saveName = folder.path() + QStringLiteral("/a.htm");
    w.main.action(QStringLiteral("save"))->trigger();
    QVERIFY(QFile::exists(folder.path() + QStringLiteral("/a.htm.html")));
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/a.htm")));

    answers.saveName.clear();  // cancelled: nothing is written
    QFile::remove(folder.path() + QStringLiteral("/img/1.bmp"));
    w.main.action(QStringLiteral("save"))->trigger();
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/img/1.bmp")));
    QVERIFY(answers.messages.isEmpty());
}

void ReportsTest::ordersReportFollowsDraggedColumns() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder, reportMenu());
    folder.addOrder(1, QStringLiteral("Асан"), 2, 3500, QStringLiteral("2007-05-15"));
    folder.addOrder(3, QStringLiteral("Әлия Ғалымқызы"), 3, 2.5, QStringLiteral("2026-12-01"));
    folder.addOrder(77, QStringLiteral("Жоқ тағам"), 1, 1, QStringLiteral("2026-12-01"));
    w.show();
    const QString elsewhere = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());  // the report goes beside the program all the same
    whileModal(w.orders, [&] {
        control<QTableView>(w.orders, "DBGrid1")->horizontalHeader()->moveSection(5, 0);
        control<QPushButton>(w.orders, "BitBtn1")->click();
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QDir::setCurrent(elsewhere);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QString path = folder.path() + QStringLiteral("/current.xls");
    compareLines(readAll(path), expected(kOrdersReport, folder.path()));
    QCOMPARE(answers.opened, QStringList({path}));
}

void ReportsTest::laterReportsOverwriteByNumber() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    w.main.DBGrid1TitleClick(0);  // Қуырдақ, Шай, Бесбармақ
    w.main.action(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), sampleBitmap(2, 2, Qt::red));
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">=2800"));
    control<QPushButton>(w.main, "BitBtn1")->click();  // Қуырдақ, Бесбармақ
    w.main.action(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/1.bmp")), QByteArray());
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/2.bmp")), sampleBitmap(2, 2, Qt::red));
    // The third picture of the earlier report stays.
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), sampleBitmap(2, 2, Qt::red));
}

void ReportsTest::missingPictureFolderStopsTheReport() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder, reportMenu());
    QVERIFY(QDir(folder.path() + QStringLiteral("/img")).removeRecursively());
    w.show();
    w.main.action(QStringLiteral("report"))->trigger();
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("Cannot create file \"%1/img/1.bmp\". No such file or "
                                         "directory.")
                              .arg(folder.path())}));
    QVERIFY(answers.opened.isEmpty());
    QVERIFY(!QDir(folder.path() + QStringLiteral("/img")).exists());  // not created
    // No half report: neither the file nor an unfinished copy of it.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(w.main.Query1->currentRow(), 0);  // where the walk stopped
}

void ReportsTest::reportFileThatCannotBeWritten() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    // A folder where the file should be: the file may not be written.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.html")));
    answers.saveName = folder.path() + QStringLiteral("/taken");
    w.main.action(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.lastText(),
             QStringLiteral("«%1/taken.html» — қалта, файл емес: оның орнына файл жазылмайды.")
                 .arg(folder.path()));
    // A folder that does not exist.
    answers.saveName = folder.path() + QStringLiteral("/no/such/folder/menu");
    w.main.action(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.lastText(),
             QStringLiteral("Invalid filename: \"%1/no/such/folder/menu.html\" (No such file or "
                            "directory)")
                 .arg(folder.path()));
    QCOMPARE(answers.messages.size(), 2);
    if (::geteuid() != 0) {  // permissions do not hold back the superuser
        const QString locked = folder.path() + QStringLiteral("/locked.html");
        QFile(locked).open(QIODevice::WriteOnly);
        ::chmod(QFile::encodeName(locked).constData(), 0444);
        answers.saveName = folder.path() + QStringLiteral("/locked");
        answers.answers = {true};  // replace it
        w.main.action(QStringLiteral("save"))->trigger();
        QCOMPARE(answers.lastText(),
                 QStringLiteral("File access denied: \"%1\" (Permission denied)").arg(locked));
    }
}

void ReportsTest::closedListWritesNoReport() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("abc"));
    control<QPushButton>(w.main, "BitBtn1")->click();  // a failed search leaves the list closed
    answers.messages.clear();
    w.main.action(QStringLiteral("report"))->trigger();
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("Cannot perform this operation on a closed dataset.")}));
    QVERIFY(answers.opened.isEmpty());
    // A report that stops leaves no half file behind.
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/current.doc")));
}

void ReportsTest::picturePathsAreEncoded_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("Kazakh letters")
        << QStringLiteral("Мәзір") << QByteArray("%D0%9C%D3%99%D0%B7%D1%96%D1%80");
    QTest::newRow("quote and signs")
        << QStringLiteral("a \"b\" #1?&<>%") << QByteArray("a%20%22b%22%20%231%3F%26%3C%3E%25");
    QTest::newRow("plain ASCII") << QStringLiteral("menu-2_(x)+y") << QByteArray("menu-2_(x)+y");
}

void ReportsTest::picturePathsAreEncoded() {
    QFETCH(QString, folderName);
    QFETCH(QByteArray, encoded);
    Session session(true, folderName);
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
    w.show();
    w.main.action(QStringLiteral("report"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QByteArray root = QFile::encodeName(folder.path()).chopped(folderName.toUtf8().size());
    const QByteArray line =
        "<td><img width=200 height=0 src=\"" + root + encoded + "/img/1.bmp\"\\></td>";
    QVERIFY2(
        readAll(folder.path() + QStringLiteral("/current.doc")).contains("\r\n" + line + "\r\n"),
        line.constData());
    QVERIFY(QFile::exists(folder.path() + QStringLiteral("/img/1.bmp")));
}

void ReportsTest::valuesKeepOneItemPerLine_data() {
    QTest::addColumn<QString>("waiter");
    QTest::addColumn<double>("price");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("lines");
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QTest::newRow("line breaks") << QStringLiteral("Асан\nНұрлан\r\nБек") << 2.0 << russian
                                 << QByteArray(
                                        "<td>Асан&#10;Нұрлан&#13;&#10;Бек</td>\r\n"
                                        "<td>Шай</td>\r\n<td>3</td>\r\n<td>2</td>\r\n"
                                        "<td>6</td>\r\n</tr>");
    // 0.1 x 3 is 0.30000000000000004 in binary; the cell shows what the user expects.
    QTest::newRow("0.1 + 0.2") << QStringLiteral("Асан") << 0.1 << russian
                               << QByteArray(
                                      "<td>Асан</td>\r\n<td>Шай</td>\r\n<td>3</td>\r\n"
                                      "<td>0,1</td>\r\n<td>0,3</td>\r\n</tr>");
    // A locale whose short date has two year digits still writes four.
    QTest::newRow("two-digit-year locale")
        << QStringLiteral("Асан") << 2.5 << QLocale(QLocale::English, QLocale::UnitedStates)
        << QByteArray("<tr><td>1</td>\r\n<td>5/15/2099</td>\r\n<td>Асан</td>\r\n");
}

void ReportsTest::valuesKeepOneItemPerLine() {
    QFETCH(QString, waiter);
    QFETCH(double, price);
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, lines);
    QLocale::setDefault(locale);
    Session session({{3, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5}});
    auto& [folder, answers, w] = session;
    folder.addOrder(3, waiter, 3, price, QStringLiteral("2099-05-15"));
    whileModal(w.orders, [&] {
        control<QTableView>(w.orders, "DBGrid1")->horizontalHeader()->moveSection(5, 0);
        control<QPushButton>(w.orders, "BitBtn1")->click();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QByteArray written = readAll(folder.path() + QStringLiteral("/current.xls"));
    QVERIFY2(written.contains(lines), written.constData());
    QCOMPARE(written.count("\r\n"), written.count('\n'));  // no bare line break inside a value
}

void ReportsTest::savingAsksAboutTheFileItWrites() {
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    const QString earlier = folder.path() + QStringLiteral("/menu.html");
    QVERIFY(writeFile(earlier, "kept"));
    // "menu" writes menu.html, which is there: asked about it, No keeps it and chooses again.
    answers.saveName = folder.path() + QStringLiteral("/menu");
    answers.answers = {false};
    w.main.action(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.questions,
             QStringList({QStringLiteral("replace|Сақтау|%1 already exists.\nDo you want to "
                                         "replace it?")
                              .arg(earlier)}));
    QCOMPARE(readAll(earlier), QByteArray("kept"));
    answers.saveName = folder.path() + QStringLiteral("/menu");
    answers.answers = {true};
    w.main.action(QStringLiteral("save"))->trigger();
    QVERIFY(readAll(earlier).startsWith(BOM "<html><body>\r\n<h3>"));
    // "a.htm" is there but a.htm.html is not: nothing to ask.
    QVERIFY(writeFile(folder.path() + QStringLiteral("/a.htm"), {}));
    answers.questions.clear();
    answers.saveName = folder.path() + QStringLiteral("/a.htm");
    w.main.action(QStringLiteral("save"))->trigger();
    QVERIFY(answers.questions.isEmpty());
    QVERIFY(QFile::exists(folder.path() + QStringLiteral("/a.htm.html")));
    QVERIFY(answers.messages.isEmpty());
}

// What stands where a report or picture goes: a link is replaced, never written through; a
// folder, a pipe or a full disk is said with the path, and nothing half-written is left.
void ReportsTest::outputTargets_data() {
    QTest::addColumn<QString>("target");  // in the program folder
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");  // the start of the message, or empty when written
    QTest::newRow("report as symbolic link to the base") << "current.doc"
                                                         << "symlink" << QString();
    QTest::newRow("report as hard link to the base") << "current.doc"
                                                     << "hardlink" << QString();
    QTest::newRow("picture as symbolic link to the base") << "img/1.bmp"
                                                          << "symlink" << QString();
    QTest::newRow("picture as hard link to the base") << "img/2.bmp"
                                                      << "hardlink" << QString();
    QTest::newRow("report as folder") << "current.doc"
                                      << "folder"
                                      << "«%1/current.doc» — қалта";
    QTest::newRow("picture as pipe") << "img/1.bmp"
                                     << "pipe"
                                     << "«%1/img/1.bmp» — кәдімгі файл емес";
    QTest::newRow("report on a full disk")
        << "current.doc"
        << "full"
        << "«%1/current.doc» жазылмады: дискіде бос орын қалмады";
}

void ReportsTest::outputTargets() {
    QFETCH(QString, target);
    QFETCH(QString, kind);
    QFETCH(QString, said);
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder, reportMenu());
    const QString base = folder.dataFolder() + QStringLiteral("/orvelin.db");
    const QString path = folder.path() + u'/' + target;
    const QByteArray name = QFile::encodeName(path);
    QTemporaryDir mount;
    const auto unmount = qScopeGuard([&] {
        if (kind == QLatin1String("full")) {
            QProcess::execute(QStringLiteral("umount"), {mount.path()});
        }
    });
    if (kind == QLatin1String("symlink")) {
        QVERIFY(QFile::link(base, path));
    } else if (kind == QLatin1String("hardlink")) {
        QCOMPARE(::link(QFile::encodeName(base).constData(), name.constData()), 0);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(::mkfifo(name.constData(), 0644), 0);
    } else if (::geteuid() != 0 ||
               QProcess::execute(
                   QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=12k"), QStringLiteral("tmpfs"), mount.path()}) != 0) {
        QSKIP("a small full disk (tmpfs) needs the superuser");
    }
    if (kind == QLatin1String("full")) {
        for (int code = 10; code < 300; ++code) {  // a report larger than the disk
            folder.addDish(code, QStringLiteral("Тағам %1").arg(code), QStringLiteral("Топ"), code,
                           5);
        }
    }
    w.show();
    const QByteArray baseBefore = readAll(base);
    if (kind == QLatin1String("full")) {
        answers.saveName = mount.path() + QStringLiteral("/menu");
        w.main.action(QStringLiteral("save"))->trigger();
        said = said.arg(mount.path())
                   .replace(QStringLiteral("current.doc"), QStringLiteral("menu.html"));
        QCOMPARE(QDir(mount.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    } else {
        w.main.action(QStringLiteral("report"))->trigger();
        said = said.arg(folder.path());
    }
    if (said.isEmpty()) {
        QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
        QFileInfo written(path);
        QVERIFY(written.isFile() && !written.isSymLink());
        QVERIFY(readAll(path).size() > 0 || target.startsWith(QLatin1String("img")));
    } else {
        QVERIFY2(answers.lastText().startsWith(said), qPrintable(answers.lastText()));
        QVERIFY(answers.opened.isEmpty());
    }
    QCOMPARE(readAll(base), baseBefore);
    // No unfinished copy is left beside the target.
    for (const QString& dir : {folder.path(), folder.path() + QStringLiteral("/img")}) {
        QCOMPARE(QDir(dir).entryList({QStringLiteral(".*.??????")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }
}

void ReportsTest::pictureHeightKeepsItsShape_data() {
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QByteArray>("attributes");
    QByteArray topDown = sampleBitmap(400, 300, Qt::red);
    topDown.replace(22, 4, QByteArray::fromHex("d4feffff"));  // height -300: top row first
    // The oldest bitmap header, with 16-bit sides: 4 x 2, 24 bits, rows padded to 12 bytes.
    const QByteArray core = QByteArray::fromHex(
                                "424d32000000000000001a0000000c0000000400020001"
                                "001800") +
                            QByteArray(24, '\x7f');
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(300, 100, QImage::Format_RGB32).save(&buffer, "PNG");
    }
    QTest::newRow("4:3 photo") << sampleBitmap(1024, 768, Qt::red)
                               << QByteArray("width=200 height=150");
    QTest::newRow("portrait") << sampleBitmap(576, 768, Qt::red)
                              << QByteArray("width=200 height=267");
    QTest::newRow("top row first") << topDown << QByteArray("width=200 height=150");
    QTest::newRow("oldest header") << core << QByteArray("width=200 height=100");
    QTest::newRow("PNG stored by another program") << png << QByteArray("width=200 height=67");
    QTest::newRow("no picture") << QByteArray() << QByteArray("width=200 height=0");
}

void ReportsTest::pictureHeightKeepsItsShape() {
    QFETCH(QByteArray, picture);
    QFETCH(QByteArray, attributes);
    Session session({{1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5,
                      QStringLiteral("Шай"), picture}});
    auto& [folder, answers, w] = session;
    w.main.action(QStringLiteral("report"))->trigger();
    answers.saveName = folder.path() + QStringLiteral("/saved");
    w.main.action(QStringLiteral("save"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QByteArray line = "\r\n<td><img " + attributes + " src=\"" +
                            QFile::encodeName(folder.path()) + "/img/1.bmp\"\\></td>\r\n";
    for (const char* report : {"/current.doc", "/saved.html"}) {
        QVERIFY2(readAll(folder.path() + QLatin1String(report)).contains(line), report);
    }
}

void ReportsTest::reportThatNothingOpensIsSaidPlainly_data() {
    QTest::addColumn<bool>("orders");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("package");
    QTest::newRow("menu report") << false << "current.doc"
                                 << "libreoffice-writer";
    QTest::newRow("orders report") << true << "current.xls"
                                   << "libreoffice-calc";
}

void ReportsTest::reportThatNothingOpensIsSaidPlainly() {
    QFETCH(bool, orders);
    QFETCH(QString, file);
    QFETCH(QString, package);
    Session session(reportMenu());
    auto& [folder, answers, w] = session;
    const QString path = folder.path() + QLatin1Char('/') + file;
    answers.openFailure =
        QStringLiteral("xdg-open: no method available for opening '%1'").arg(path);
    if (orders) {
        whileModal(w.orders, [&] { control<QPushButton>(w.orders, "BitBtn1")->click(); });
        w.main.action(QStringLiteral("orders"))->trigger();
    } else {
        w.main.action(QStringLiteral("report"))->trigger();
    }
    QCOMPARE(answers.opened, QStringList({path}));
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(answers.messages[0].kind, ui::MessageKind::Warning);
    const QString text = answers.messages[0].text;
    // Where the report is, that no program is set to open it, why, and what would open it.
    for (const QString& part :
         {QStringLiteral("Есеп жазылды: ") + path, QStringLiteral("оны ашатын программа"),
          answers.openFailure, package + QStringLiteral(" пакетін орнатыңыз")}) {
        QVERIFY2(text.contains(part), qPrintable(text));
    }
}

void ReportsTest::xdgOpenFailuresReachTheProgram_data() {
    QTest::addColumn<QByteArray>("script");  // the xdg-open on the PATH; empty: none at all
    QTest::addColumn<QString>("reason");     // what the program is told; empty: nothing
    QTest::newRow("no xdg-open") << QByteArray() << "xdg-open could not be started: ";
    QTest::newRow("no program for the kind")
        << QByteArray(
               "echo \"xdg-open: 882: firefox: not found\" >&2\n"
               "echo \"xdg-open: no method available for opening '$1'\" >&2; exit 3")
        << "xdg-open: no method available for opening '/x/current.doc'";
    QTest::newRow("the program fails silently")
        << QByteArray("exit 4") << "xdg-open exited with code 4";
    QTest::newRow("opened") << QByteArray("exit 0") << "";
}

void ReportsTest::xdgOpenFailuresReachTheProgram() {
    QFETCH(QByteArray, script);
    QFETCH(QString, reason);
    QTemporaryDir bin;
    if (!script.isEmpty()) {
        const QString xdgOpen = bin.filePath(QStringLiteral("xdg-open"));
        QVERIFY(writeFile(xdgOpen, "#!/bin/sh\n" + script + "\n"));
        QVERIFY(QFile::setPermissions(xdgOpen, QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");
    if (script.isEmpty()) {
        qputenv("PATH", QFile::encodeName(bin.path()));
    }
    QStringList told;
    ui::desktop().openDocument(QStringLiteral("/x/current.doc"), QStringLiteral("/"),
                               [&](const QString& why) { told.append(why); });
    // The opener goes when xdg-open has ended.
    QTRY_VERIFY(QCoreApplication::instance()->findChildren<QProcess*>().isEmpty());
    qputenv("PATH", path);
    if (reason.isEmpty()) {
        QVERIFY2(told.isEmpty(), qPrintable(told.join(u'|')));
    } else {
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].startsWith(reason), qPrintable(told[0]));
    }
}

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
