#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include "tests/support.h"

namespace {

// Every letter of the Kazakh alphabet beyond the Russian one, small and capital.
const QString kKazakhLetters = QStringLiteral("әғқңөұүһі ӘҒҚҢӨҰҮҺІ");

// Converts a report with LibreOffice, as a user's desktop opens it, and returns the text
// LibreOffice read. The profile is a fresh one of the test's own.
QString convertWithLibreOffice(const QString& soffice, const QString& report, const QString& to,
                               const QString& outFolder, const QString& profile) {
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile,
                        QStringLiteral("--headless"), QStringLiteral("--convert-to"), to,
                        QStringLiteral("--outdir"), outFolder, report});
    if (!run.waitForFinished(180000) || run.exitCode() != 0) {
        qWarning() << "LibreOffice failed:" << run.readAll();
        return QString();
    }
    const QString stem = QFileInfo(report).completeBaseName();
    const QString extension = to.section(QLatin1Char(':'), 0, 0);
    QFile converted(outFolder + QLatin1Char('/') + stem + QLatin1Char('.') + extension);
    return converted.open(QIODevice::ReadOnly) ? QString::fromUtf8(converted.readAll()) : QString();
}

}  // namespace

// The reports read by the programs that open them on a Linux desktop: LibreOffice Writer
// takes current.doc, Calc current.xls. Both must show the Kazakh text, the heading and every
// cell as the program wrote them.
class ReadersTest : public QObject {
    Q_OBJECT

private slots:
    void libreOfficeReadsTheReports();
};

void ReadersTest::libreOfficeReadsTheReports() {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        if (qEnvironmentVariableIsSet("CI")) {
            QFAIL("LibreOffice is not installed; the test command installs it");
        }
        QSKIP("LibreOffice is not installed (libreoffice-writer-nogui, libreoffice-calc-nogui)");
    }
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Қуырдақ ") + kKazakhLetters, QStringLiteral("Ұлттық ет"),
                   2800, 60, QStringLiteral("Қой етінен"), sampleBitmap(40, 30, Qt::darkGreen));
    folder.addDish(2, QStringLiteral("Шай <сүтпен> & \"бал\""), QStringLiteral("Сусындар"), 150, 5);
    folder.addOrder(1, QStringLiteral("Әлия Ғалымқызы"), 2, 2800, QStringLiteral("2026-12-01"));
    folder.addOrder(2, QStringLiteral("Өмірзақ Үсенов"), 3, 0.1, QStringLiteral("1999-05-15"));
    w.show();
    w.main.action(QStringLiteral("report"))->trigger();
    bool ran = false;
    whileModal(w.orders, [&] {
        ran = true;
        control<QPushButton>(w.orders, "BitBtn1")->click();
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QVERIFY(ran);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));

    QTemporaryDir work;
    const QString profile = work.filePath(QStringLiteral("profile"));
    const QString doc = folder.path() + QStringLiteral("/current.doc");
    const QString xls = folder.path() + QStringLiteral("/current.xls");
    const QString text = convertWithLibreOffice(
        soffice, doc, QStringLiteral("txt:Text (encoded):UTF8"), work.path(), profile);
    const QString table = convertWithLibreOffice(
        soffice, xls, QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), work.path(),
        profile);
    QVERIFY2(!text.isEmpty() && !table.isEmpty(), "LibreOffice converted nothing");

    // Writer: the heading, the titles and every cell, one paragraph each.
    QStringList paragraphs = text.split(QRegularExpression(QStringLiteral("\\r?\\n")));
    for (QString& paragraph : paragraphs) {
        paragraph = paragraph.remove(QChar(0xFEFF)).trimmed();
    }
    for (const QString& expected :
         {QStringLiteral("Меню"), QStringLiteral("№"), QStringLiteral("Суреті"),
          QStringLiteral("Атауы"), QStringLiteral("Тобы"), QStringLiteral("Бағасы"),
          QStringLiteral("Дайын. уақыты (мин.)"), QStringLiteral("Қуырдақ ") + kKazakhLetters,
          QStringLiteral("Ұлттық ет"), QStringLiteral("2800"), QStringLiteral("60"),
          QStringLiteral("Шай <сүтпен> & \"бал\""), QStringLiteral("Сусындар"),
          QStringLiteral("150"), QStringLiteral("5")}) {
        QVERIFY2(paragraphs.contains(expected),
                 qPrintable(expected + QStringLiteral(" in:\n") + text));
    }
    // Calc: the same table, cell by cell.
    const QStringList rows =
        table.split(QRegularExpression(QStringLiteral("\\r?\\n")), Qt::SkipEmptyParts);
    QVERIFY2(rows.size() >= 4, qPrintable(table));
    QCOMPARE(rows[0].section(QLatin1Char(','), 0, 0), QStringLiteral("\"Тапсырыстар кестесі\""));
    const QStringList cells = rows.mid(rows.size() - 3);
    QCOMPARE(cells[0], QStringLiteral("\"№\",\"Официанттың аты-жөні\",\"Тапсырысы\",\"Саны\","
                                      "\"Бағасы\",\"Сомасы\",\"Уақыты\""));
    QCOMPARE(cells[1], QStringLiteral("1,\"Әлия Ғалымқызы\",\"Қуырдақ %1\",2,2800,5600,"
                                      "\"01.12.2026\"")
                           .arg(kKazakhLetters));
    QCOMPARE(cells[2], QStringLiteral("2,\"Өмірзақ Үсенов\",\"Шай <сүтпен> & \"\"бал\"\"\",3,"
                                      "\"0,1\",\"0,3\",\"15.05.1999\""));

    // Pictures of the pages as the readers lay them out, for a person to look at.
    const QString screens = QCoreApplication::applicationDirPath() + QStringLiteral("/screens");
    QDir().mkpath(screens);
    // Writer's web view exports a blank first page of its own; the page as Writer lays
    // it out for printing is the one to look at.
    for (const QString& report : {doc, xls}) {
        QStringList arguments = {QStringLiteral("-env:UserInstallation=file://") + profile,
                                 QStringLiteral("--headless")};
        if (report == doc) {
            arguments << QStringLiteral("--infilter=HTML (StarWriter)");
        }
        arguments << QStringLiteral("--convert-to")
                  << (report == doc ? QStringLiteral("pdf:writer_pdf_Export")
                                    : QStringLiteral("pdf"))
                  << QStringLiteral("--outdir") << work.path() << report;
        QProcess::execute(soffice, arguments);
        const QString pdf =
            work.filePath(QFileInfo(report).completeBaseName() + QStringLiteral(".pdf"));
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                           QStringLiteral("-singlefile"), pdf,
                           screens + QStringLiteral("/libreoffice-") + QFileInfo(report).suffix()});
        QFile::remove(pdf);
    }
}

QTEST_MAIN(ReadersTest)
#include "tst_readers.moc"
