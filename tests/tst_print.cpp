#include <pwd.h>
#include <unistd.h>

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include "forms/gridsource.h"
#include "reports/printlist.h"
#include "store/error.h"
#include "tests/support.h"

namespace {

struct Word {
    int page;
    double x;
    double y;
    QString text;
};

// Where pdftotext finds each word, in points from the page's top-left corner.
QList<Word> wordsOf(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!run.waitForFinished(30000)) {
        return {};
    }
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    static const QRegularExpression page(QStringLiteral("<page "));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"(-?[0-9.]+)\" yMin=\"(-?[0-9.]+)\"[^>]*>([^<]*)</word>"));
    QList<Word> words;
    int pageNo = 0;
    for (const QString& chunk : html.split(page)) {
        auto it = word.globalMatch(chunk);
        while (it.hasNext()) {
            const auto m = it.next();
            words.append({pageNo, m.captured(1).toDouble(), m.captured(2).toDouble(),
                          m.captured(3).replace(QStringLiteral("&quot;"), QStringLiteral("\""))});
        }
        ++pageNo;
    }
    return words;
}

const Word* find(const QList<Word>& words, const QString& text) {
    for (const Word& w : words) {
        if (w.text == text) {
            return &w;
        }
    }
    return nullptr;
}

bool onTabStop(double x) {
    const double rest = std::fmod(x, 36.0);
    return rest < 0.8 || rest > 35.2;
}

}  // namespace

// The CUPS queues the test command makes. Without them the real print tests cannot run: in
// CI (where the test command should have made them) that fails, elsewhere it skips.
#define REQUIRE_PRINTER(name)                                                              \
    do {                                                                                   \
        if (QPrinterInfo::printerInfo(QStringLiteral(name)).isNull()) {                    \
            if (qEnvironmentVariableIsSet("CI")) {                                         \
                QFAIL("CUPS has no queue " name " (tools/start-pdf-printer.sh makes it)"); \
            }                                                                              \
            QSKIP("CUPS has no queue " name " (tools/start-pdf-printer.sh makes it)");     \
        }                                                                                  \
    } while (false)

// The printed dish list: its lines, its page layout on Qt's PDF printer, and one real job
// through CUPS.
class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void tabStopsLieMoreThanOneUnitOn();
    void linesOfASearchResult();
    void pageLayout();
    void closedListPrintsItsHeadingOnly();
    void cancelledPrintDialogPrintsNothing();
    void realPrintJobThroughCups();
};

void PrintTest::tabStopsLieMoreThanOneUnitOn() {
    // Half an inch of 36 units: from just before a stop, and from on it, to the next one.
    const int cases[][2] = {{0, 36}, {34, 36}, {35, 72}, {36, 72}, {37, 72}, {71, 108}};
    for (const auto& [x, stop] : cases) {
        QCOMPARE(reports::nextTabStop(x, 36), stop);
    }
}

void PrintTest::linesOfASearchResult() {
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180);
    folder.addDish(2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
    folder.addDish(3, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50);
    w.show();
    const QList<store::Column> columns = w.main.DataSource1->columnsInGridOrder();
    QCOMPARE(reports::printedLines(*w.main.Query1, columns)[1],
             QStringLiteral("№\tАтауы\t\tТобы\t\tБағасы\t\tДайын. уақыты (мин.)\t"));
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">=2000"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    QCOMPARE(reports::printedLines(*w.main.Query1, columns),
             QStringList({QStringLiteral("Сұрау бойынша табылған нәтижелер"),
                          QStringLiteral("№\tАтауы\t\tТобы\t\tБағасы\t\tДайын. уақыты (мин.)\t"),
                          QStringLiteral("1\tБесбармақ\t\tЕт\t\t3500\t\t180\t"),
                          QStringLiteral("2\tМанты\t\tҚамыр\t\t2000\t\t50\t")}));
    QCOMPARE(w.main.Query1->currentRow(), 1);  // the walk ends on the last row
}

void PrintTest::pageLayout() {
    Session session;
    auto& [folder, answers, w] = session;
    const QString longName = QString(QStringLiteral("Бесбармақ ")).repeated(14).trimmed();
    folder.addDish(1, longName, QStringLiteral("Ет"), 3500, 180);
    for (int i = 2; i <= 120; ++i) {
        folder.addDish(i, QStringLiteral("Тағам %1").arg(i, 3, 10, QLatin1Char('0')),
                       QStringLiteral("Топ"), i, 10);
    }
    w.show();
    const QString pdf = qEnvironmentVariableIsSet("ORVELIN_KEEP_PDF")
                            ? qEnvironmentVariable("ORVELIN_KEEP_PDF")
                            : folder.path() + QStringLiteral("/list.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(72);  // device units are points, as pdftotext reports them
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    reports::printList(printer, *w.main.Query1, w.main.DataSource1->columnsInGridOrder());

    const QList<Word> words = wordsOf(pdf);
    QVERIFY2(!words.isEmpty(), "pdftotext read nothing");
    // The first page as a picture, for a person to look at beside the window snapshots.
    const QString screens = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(screens);
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, screens + QStringLiteral("/printed-page")});
    // Top-left corner, no margin.
    const Word* heading = find(words, QStringLiteral("Сұрау"));
    QVERIFY(heading);
    QVERIFY2(heading->x < 1.0 && heading->y < 6.0,
             qPrintable(QStringLiteral("%1, %2").arg(heading->x).arg(heading->y)));
    // Cells start on half-inch tab stops.
    for (const char* title : {"Атауы", "Тобы", "Бағасы", "Дайын."}) {
        const Word* cell = find(words, QString::fromUtf8(title));
        QVERIFY2(cell, title);
        QVERIFY2(onTabStop(cell->x), qPrintable(QString::number(cell->x)));
    }
    const Word* price = find(words, QStringLiteral("3500"));
    QVERIFY(price && onTabStop(price->x));

    // The long name runs past the right edge and goes on at the left of the next line.
    const Word* first = find(words, QStringLiteral("1"));
    QVERIFY(first);
    bool continued = false;
    for (const Word& word : words) {
        if (word.page == first->page && word.y > first->y + 5 && word.y < first->y + 40 &&
            word.x < 2.0 && word.text.startsWith(QStringLiteral("Бес")) == false &&
            word.text.contains(QStringLiteral("бармақ"))) {
            continued = true;
        }
    }
    QVERIFY2(continued || find(words, QStringLiteral("3500"))->y > first->y + 5,
             "the long line did not wrap");

    // Paging: a page ends once the next line would start below height minus two lines.
    const QFontMetrics metrics(QPainter(&printer).font(), &printer);
    const double lineHeight = metrics.height() + 2;
    const double height = 842;
    double lastOnFirstPage = 0;
    int pages = 0;
    for (const Word& word : words) {
        pages = std::max(pages, word.page);
        if (word.page == 1) {
            lastOnFirstPage = std::max(lastOnFirstPage, word.y);
        }
    }
    QVERIFY2(pages >= 2, "120 dishes fit on one page");
    QVERIFY2(lastOnFirstPage <= height - 2 * lineHeight + 4 &&
                 lastOnFirstPage > height - 3 * lineHeight - 4,
             qPrintable(QStringLiteral("last line at %1, line height %2")
                            .arg(lastOnFirstPage)
                            .arg(lineHeight)));
    double topOfSecond = height;
    for (const Word& word : words) {
        if (word.page == 2) {
            topOfSecond = std::min(topOfSecond, word.y);
        }
    }
    QVERIFY(topOfSecond < 6.0);
}

void PrintTest::closedListPrintsItsHeadingOnly() {
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
    w.show();
    w.main.Query1->close();
    const QString pdf = folder.path() + QStringLiteral("/closed.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY_THROWS_EXCEPTION(
        AppError, reports::printList(printer, *w.main.Query1, w.main.DataSource1->columns()));
    const QList<Word> words = wordsOf(pdf);
    QVERIFY(find(words, QStringLiteral("нәтижелер")));
    QVERIFY(find(words, QStringLiteral("Атауы")));
    QVERIFY(!find(words, QStringLiteral("Шай")));
}

void PrintTest::cancelledPrintDialogPrintsNothing() {
    REQUIRE_PRINTER("PDF");
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    bool asked = false;
    answers.printerChoice = [&](QPrinter&) {
        asked = true;
        return false;
    };
    w.main.action(QStringLiteral("print"))->trigger();
    QVERIFY(asked);
    QVERIFY(answers.messages.isEmpty());
}

void PrintTest::realPrintJobThroughCups() {
    REQUIRE_PRINTER("PDF-Margins");
    // A job name of this run's own: cups-pdf names its file after it, so no other job on the
    // same queue is mistaken for this one.
    const QString job = QStringLiteral("orvelin-test-%1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
    const QDir out(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + QStringLiteral("/PDF"));
    // cups-pdf starts the file's name with the job's and may add words of its own.
    auto output = [&] {
        const QStringList found = out.entryList({job + QStringLiteral("*.pdf")}, QDir::Files);
        return found.isEmpty() ? QString() : out.filePath(found.first());
    };
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180);
    folder.addDish(2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
    w.show();
    answers.printerChoice = [&](QPrinter& printer) {
        printer.setPrinterName(QStringLiteral("PDF-Margins"));
        printer.setDocName(job);
        return true;
    };
    w.main.action(QStringLiteral("print"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    // cups-pdf writes the file under its final name only when the job is done.
    QTRY_VERIFY_WITH_TIMEOUT(!output().isEmpty() && !wordsOf(output()).isEmpty(), 90000);
    const QString pdf = output();
    const QString screens = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(screens);
    QProcess::execute(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
         QStringLiteral("-singlefile"), pdf, screens + QStringLiteral("/printed-with-margins")});
    // cups-pdf redraws the glyphs without their letters, so the words are checked by count
    // and place: 4 in the heading, 7 in the title line, 5 in each dish line, every one
    // inside the half-inch margins of the A4 sheet (595 x 842 points).
    const QList<Word> words = wordsOf(pdf);
    QFile::remove(pdf);
    QCOMPARE(words.size(), 4 + 7 + 5 + 5);
    const double margin = 36.0;
    QList<double> tops;
    for (const Word& word : words) {
        QCOMPARE(word.page, 1);
        QVERIFY2(word.x >= margin - 0.5 && word.y >= margin - 4.0 && word.x < 595 - margin,
                 qPrintable(QStringLiteral("a word at %1, %2").arg(word.x).arg(word.y)));
        if (!tops.contains(word.y)) {
            tops.append(word.y);
        }
    }
    QCOMPARE(tops.size(), 4);
    // The "№" starts at the printable area's left edge, the heading near it (its first
    // glyph's box starts a little to the right of its pen position).
    QVERIFY2(words[4].x < margin + 1.0, qPrintable(QString::number(words[4].x)));
    QVERIFY2(words[0].x < margin + 10.0, qPrintable(QString::number(words[0].x)));
    int onStops = 0;
    for (const Word& word : words) {
        if (word.y == tops[1] && word.x > margin + 1.0) {
            onStops += onTabStop(word.x - margin) ? 1 : 0;
        }
    }
    QVERIFY2(onStops >= 4, "the title cells are not on half-inch stops of the printable area");
}

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
