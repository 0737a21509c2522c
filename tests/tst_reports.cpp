#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include "reports/cp1251kz.h"
#include "tests/support.h"
#include "ui/picturebox.h"

namespace {

// The expected files, byte for byte; {DIR} stands for the program folder.

// The title row both dish reports share: №, the picture, then the four grid columns.
#define DISH_TITLE_ROW                                                                       \
    "<table border=1><tr><td><b>\xB9</b></td>\x0D\x0A"                                       \
    "<td><b>\xD1\xF3\xF0\xE5\xF2\xB3</b></td>\x0D\x0A"                                       \
    "<td><b>\xC0\xF2\xE0\xF3\xFB</b></td>\x0D\x0A"                                           \
    "<td><b>\xD2\xEE\xE1\xFB</b></td>\x0D\x0A"                                               \
    "<td><b>\xC1\xE0\xBA\xE0\xF1\xFB</b></td>\x0D\x0A"                                       \
    "<td><b>\xC4\xE0\xE9\xFB\xED. \xF3\xE0\x9D\xFB\xF2\xFB (\xEC\xE8\xED.)</b></td>\x0D\x0A" \
    "</tr>\x0D\x0A"

const char kMenuReport[] =
    "<html><body>\x0D\x0A"
    "<h3>\xCC\xE5\xED\xFE</h3>\x0D\x0A" DISH_TITLE_ROW
    "<tr><td>1</td>\x0D\x0A"
    "<td><img width=200 src=\"{DIR}/img/1.bmp\"\\></td>\x0D\x0A"
    "<td>\xC1\xE5\xF1\xE1\xE0\xF0\xEC\xE0\x9D</td>\x0D\x0A"
    "<td>\xA1\xEB\xF2\xF2\xFB\x9D \xE5\xF2</td>\x0D\x0A"
    "<td>3500</td>\x0D\x0A"
    "<td>180</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>2</td>\x0D\x0A"
    "<td><img width=200 src=\"{DIR}/img/2.bmp\"\\></td>\x0D\x0A"
    "<td>\xD8\xE0\xE9</td>\x0D\x0A"
    "<td>\xD1\xF3\xF1\xFB\xED\xE4\xE0\xF0 &#9749;</td>\x0D\x0A"
    "<td>100</td>\x0D\x0A"
    "<td>5</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>3</td>\x0D\x0A"
    "<td><img width=200 src=\"{DIR}/img/3.bmp\"\\></td>\x0D\x0A"
    "<td>\x8D\xF3\xFB\xF0\xE4\xE0\x9D &lt;&amp;&gt; &quot;\xFB\xF1\xF2\xFB\x9D&quot;</td>\x0D\x0A"
    "<td>\xC5\xF2</td>\x0D\x0A"
    "<td>2800</td>\x0D\x0A"
    "<td>60</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "</table></body></html>\x0D\x0A";
const char kEmptyMenuReport[] =
    "<html><body>\x0D\x0A"
    "<h3>\xCC\xE5\xED\xFE</h3>\x0D\x0A" DISH_TITLE_ROW "</table></body></html>\x0D\x0A";
const char kSavedReport[] =
    "<html><body>\x0D\x0A"
    "<h3>\xD1\xA2\xF0\xE0\xF3 \xE1\xEE\xE9\xFB\xED\xF8\xE0 \xF2\xE0\xE1\xFB\xEB\xBA\xE0\xED "
    "\xED\xBC\xF2\xE8\xE6\xE5\xEB\xE5\xF0</h3>\x0D\x0A" DISH_TITLE_ROW
    "<tr><td>1</td>\x0D\x0A"
    "<td><img src=\"{DIR}/img/1.bmp\"\\></td>\x0D\x0A"
    "<td>\xC1\xE5\xF1\xE1\xE0\xF0\xEC\xE0\x9D</td>\x0D\x0A"
    "<td>\xA1\xEB\xF2\xF2\xFB\x9D \xE5\xF2</td>\x0D\x0A"
    "<td>3500</td>\x0D\x0A"
    "<td>180</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>2</td>\x0D\x0A"
    "<td><img src=\"{DIR}/img/2.bmp\"\\></td>\x0D\x0A"
    "<td>\x8D\xF3\xFB\xF0\xE4\xE0\x9D &lt;&amp;&gt; &quot;\xFB\xF1\xF2\xFB\x9D&quot;</td>\x0D\x0A"
    "<td>\xC5\xF2</td>\x0D\x0A"
    "<td>2800</td>\x0D\x0A"
    "<td>60</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>3</td>\x0D\x0A"
    "<td><img src=\"{DIR}/img/3.bmp\"\\></td>\x0D\x0A"
    "<td>\xD2\xE0\xE1\xE0 \xED\xE0\xED</td>\x0D\x0A"
    "<td>\xCD\xE0\xED</td>\x0D\x0A"
    "<td>350</td>\x0D\x0A"
    "<td>0</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "</table></body></html>\x0D\x0A";
const char kOrdersReport[] =
    "<html><head><title>\xD2\xE0\xEF\xF1\xFB\xF0\xFB\xF1\xF2\xE0\xF0 "
    "\xEA\xE5\xF1\xF2\xE5\xF1\xB3</title></head><body>\x0D\x0A"
    "<h3>\xD2\xE0\xEF\xF1\xFB\xF0\xFB\xF1\xF2\xE0\xF0 \xEA\xE5\xF1\xF2\xE5\xF1\xB3</h3>\x0D\x0A"
    "<table border=1><tr><td><b>\xB9</b></td>\x0D\x0A"
    "<td><b>\xD3\xE0\x9D\xFB\xF2\xFB</b></td>\x0D\x0A"
    "<td><b>\xCE\xF4\xE8\xF6\xE8\xE0\xED\xF2\xF2\xFB\xBE "
    "\xE0\xF2\xFB-\xE6\xB4\xED\xB3</b></td>\x0D\x0A"
    "<td><b>\xD2\xE0\xEF\xF1\xFB\xF0\xFB\xF1\xFB</b></td>\x0D\x0A"
    "<td><b>\xD1\xE0\xED\xFB</b></td>\x0D\x0A"
    "<td><b>\xC1\xE0\xBA\xE0\xF1\xFB</b></td>\x0D\x0A"
    "<td><b>\xD1\xEE\xEC\xE0\xF1\xFB</b></td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>1</td>\x0D\x0A"
    "<td>15.05.2007</td>\x0D\x0A"
    "<td>\xC0\xF1\xE0\xED</td>\x0D\x0A"
    "<td>\xC1\xE5\xF1\xE1\xE0\xF0\xEC\xE0\x9D</td>\x0D\x0A"
    "<td>2</td>\x0D\x0A"
    "<td>3500</td>\x0D\x0A"
    "<td>7000</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "<tr><td>2</td>\x0D\x0A"
    "<td>01.12.2026</td>\x0D\x0A"
    "<td>\xA3\xEB\xE8\xFF \xAA\xE0\xEB\xFB\xEC\x9D\xFB\xE7\xFB</td>\x0D\x0A"
    "<td>\xD8\xE0\xE9</td>\x0D\x0A"
    "<td>3</td>\x0D\x0A"
    "<td>2,5</td>\x0D\x0A"
    "<td>7,5</td>\x0D\x0A"
    "</tr>\x0D\x0A"
    "</table></body></html>\x0D\x0A";

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

void addMenu(TestFolder& folder) {
    folder.addDish(1, QStringLiteral("Бесбармақ"), QStringLiteral("Ұлттық ет"), 3500, 180,
                   QStringLiteral("Ет"), sampleBitmap(2, 2, Qt::red));
    folder.addDish(2, QStringLiteral("Қуырдақ <&> \"ыстық\""), QStringLiteral("Ет"), 2800, 60);
    folder.addDish(3, QStringLiteral("Шай"), QStringLiteral("Сусындар ☕"), 100, 5,
                   QStringLiteral("Шай"), sampleBitmap(3, 1, Qt::blue));
    folder.addDish(4, QStringLiteral("Таба нан"), QStringLiteral("Нан"), 350, 0);
}

}  // namespace

// The HTML table reports: every byte of the three files, their pictures, and the ways
// writing them can fail.
class ReportsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void encoderPutsKazakhLettersAtTheirBytes();
    void menuReport();
    void emptyMenuReport();
    void savedResultsOfASearchInSortOrder();
    void savedResultsNaming();
    void ordersReportFollowsDraggedColumns();
    void laterReportsOverwriteByNumber();
    void missingPictureFolderStopsTheReport();
    void reportFileThatCannotBeWritten();
    void closedListWritesTheHeadingOnly();
};

void ReportsTest::encoderPutsKazakhLettersAtTheirBytes() {
    QCOMPARE(reports::encodeKazakh1251(QStringLiteral("әғқңөұүі")),
             QByteArray("\xBC\xBA\x9D\xBE\xB4\xA2\xBF\xB3"));
    QCOMPARE(reports::encodeKazakh1251(QStringLiteral("ӘҒҚҢӨҰҮІ№")),
             QByteArray("\xA3\xAA\x8D\xBD\xA5\xA1\xAF\xB2\xB9"));
    QCOMPARE(reports::encodeKazakh1251(QStringLiteral("АЯая Ёё")),
             QByteArray("\xC0\xDF\xE0\xFF \xA8\xB8"));
    // Letters whose bytes the Kazakh ones took, and what no code page byte holds, become
    // character references; nothing turns into "?".
    QCOMPARE(reports::encodeKazakh1251(QStringLiteral("ј Ў һ € 🍲")),
             QByteArray("&#1112; &#1038; &#1211; \x88 &#127858;"));
    QCOMPARE(reports::escapeHtml(QStringLiteral("a<b & \"c\">")),
             QStringLiteral("a&lt;b &amp; &quot;c&quot;&gt;"));
}

void ReportsTest::menuReport() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.command(QStringLiteral("report"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QString path = folder.path() + QStringLiteral("/current.doc");
    compareLines(readAll(path), expected(kMenuReport, folder.path()));
    QCOMPARE(answers.opened, QStringList({path}));
    QCOMPARE(answers.openedFolder, folder.path());
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/1.bmp")), sampleBitmap(2, 2, Qt::red));
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/2.bmp")), sampleBitmap(3, 1, Qt::blue));
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), QByteArray());
    // The walk leaves the list on its last dish, and the window shows it.
    QCOMPARE(w.main.Query1->currentRow(), 2);
    QCOMPARE(w.main.DBGrid1->currentIndex().row(), 2);
    QVERIFY(w.main.DBImage1->pixmap().isNull());
}

void ReportsTest::emptyMenuReport() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    w.main.command(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/current.doc")),
             expected(kEmptyMenuReport, folder.path()));
    QVERIFY(answers.messages.isEmpty());
}

void ReportsTest::savedResultsOfASearchInSortOrder() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.RadioButton2->click();
    w.main.Edit1->setText(QStringLiteral(">=350"));
    w.main.BitBtn1->click();
    w.main.DBGrid1TitleClick(2);  // price, descending
    answers.messages.clear();
    answers.saveName = folder.path() + QStringLiteral("/menu");
    w.main.command(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.saveTitle, QStringLiteral("Сақтау"));
    QCOMPARE(answers.saveFilter, QStringLiteral("Web-парақ (*.htm)"));
    compareLines(readAll(folder.path() + QStringLiteral("/menu.html")),
                 expected(kSavedReport, folder.path()));
    QVERIFY(answers.opened.isEmpty());  // saved results are not opened
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(w.main.statusText(1), QStringLiteral("Табылған нәтиже: 3"));
}

void ReportsTest::savedResultsNaming() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    answers.saveName = folder.path() + QStringLiteral("/a.htm");
    w.main.command(QStringLiteral("save"))->trigger();
    QVERIFY(QFile::exists(folder.path() + QStringLiteral("/a.htm.html")));
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/a.htm")));

    answers.saveName.clear();  // cancelled: nothing is written
    QFile::remove(folder.path() + QStringLiteral("/img/1.bmp"));
    w.main.command(QStringLiteral("save"))->trigger();
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/img/1.bmp")));
    QVERIFY(answers.messages.isEmpty());
}

void ReportsTest::ordersReportFollowsDraggedColumns() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    folder.addOrder(1, QStringLiteral("Асан"), 2, 3500, QStringLiteral("2007-05-15"));
    folder.addOrder(3, QStringLiteral("Әлия Ғалымқызы"), 3, 2.5, QStringLiteral("2026-12-01"));
    folder.addOrder(77, QStringLiteral("Жоқ тағам"), 1, 1, QStringLiteral("2026-12-01"));
    w.show();
    const QString elsewhere = QDir::currentPath();
    QDir::setCurrent(QDir::tempPath());  // the report goes beside the program all the same
    whileModal(w.orders, [&] {
        w.orders.DBGrid1->horizontalHeader()->moveSection(5, 0);
        w.orders.BitBtn1->click();
        w.orders.close();
    });
    w.main.command(QStringLiteral("orders"))->trigger();
    QDir::setCurrent(elsewhere);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    const QString path = folder.path() + QStringLiteral("/current.xls");
    compareLines(readAll(path), expected(kOrdersReport, folder.path()));
    QCOMPARE(answers.opened, QStringList({path}));
}

void ReportsTest::laterReportsOverwriteByNumber() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.DBGrid1TitleClick(0);  // Қуырдақ, Шай, Бесбармақ
    w.main.command(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), sampleBitmap(2, 2, Qt::red));
    w.main.RadioButton2->click();
    w.main.Edit1->setText(QStringLiteral(">=2800"));
    w.main.BitBtn1->click();  // Қуырдақ, Бесбармақ
    w.main.command(QStringLiteral("report"))->trigger();
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/1.bmp")), QByteArray());
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/2.bmp")), sampleBitmap(2, 2, Qt::red));
    // The third picture of the earlier report stays.
    QCOMPARE(readAll(folder.path() + QStringLiteral("/img/3.bmp")), sampleBitmap(2, 2, Qt::red));
}

void ReportsTest::missingPictureFolderStopsTheReport() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    QVERIFY(QDir(folder.path() + QStringLiteral("/img")).removeRecursively());
    w.show();
    w.main.command(QStringLiteral("report"))->trigger();
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("Cannot create file \"%1/img/1.bmp\". No such file or "
                                         "directory.")
                              .arg(folder.path())}));
    QVERIFY(answers.opened.isEmpty());
    QVERIFY(!QDir(folder.path() + QStringLiteral("/img")).exists());  // not created
    const QByteArray written = readAll(folder.path() + QStringLiteral("/current.doc"));
    QVERIFY(written.endsWith("</tr>\r\n<tr><td>1</td>\r\n"));
    QCOMPARE(w.main.Query1->currentRow(), 0);  // where the walk stopped
}

void ReportsTest::reportFileThatCannotBeWritten() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    // A folder where the file should be: the file may not be written.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.html")));
    answers.saveName = folder.path() + QStringLiteral("/taken");
    w.main.command(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.lastText(), QStringLiteral("File access denied."));
    // A folder that does not exist.
    answers.saveName = folder.path() + QStringLiteral("/no/such/folder/menu");
    w.main.command(QStringLiteral("save"))->trigger();
    QCOMPARE(answers.lastText(), QStringLiteral("Invalid filename."));
    QCOMPARE(answers.messages.size(), 2);
    if (::geteuid() != 0) {  // permissions do not hold back the superuser
        const QString locked = folder.path() + QStringLiteral("/locked.html");
        QFile(locked).open(QIODevice::WriteOnly);
        ::chmod(QFile::encodeName(locked).constData(), 0444);
        answers.saveName = folder.path() + QStringLiteral("/locked");
        w.main.command(QStringLiteral("save"))->trigger();
        QCOMPARE(answers.lastText(), QStringLiteral("File access denied."));
    }
}

void ReportsTest::closedListWritesTheHeadingOnly() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.RadioButton2->click();
    w.main.Edit1->setText(QStringLiteral("abc"));
    w.main.BitBtn1->click();  // a failed search leaves the list closed
    answers.messages.clear();
    w.main.command(QStringLiteral("report"))->trigger();
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("Cannot perform this operation on a closed dataset.")}));
    QVERIFY(answers.opened.isEmpty());
    QVERIFY(readAll(folder.path() + QStringLiteral("/current.doc"))
                .endsWith("(\xEC\xE8\xED.)</b></td>\r\n</tr>\r\n"));
}

QTEST_MAIN(ReportsTest)
#include "tst_reports.moc"
