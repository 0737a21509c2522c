// Times the orders view's list and its report on an existing program folder, through the
// same classes the orders view uses, beside the sqlite3 shell on the same statement.
//
//   QT_QPA_PLATFORM=offscreen bench_reports PROGRAM_FOLDER
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <cstdio>

#include "reports/htmlreport.h"
#include "store/datafolder.h"
#include "store/query.h"
#include "store/statements.h"
#include "ui/datasource.h"

namespace {

double shellSeconds(const QString& database, const QString& script) {
    QElapsedTimer clock;
    clock.start();
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {database});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_reports PROGRAM_FOLDER\n");
        return 2;
    }
    const QString folder = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    store::setProgramFolder(folder);
    const QList<ui::Column> columns = {
        {QStringLiteral("fio"), QStringLiteral("Официанттың аты-жөні")},
        {QStringLiteral("nm"), QStringLiteral("Тапсырысы")},
        {QStringLiteral("kvo"), QStringLiteral("Саны")},
        {QStringLiteral("sena"), QStringLiteral("Бағасы")},
        {QStringLiteral("summ"), QStringLiteral("Сомасы")},
        {QStringLiteral("dt"), QStringLiteral("Уақыты")}};

    QElapsedTimer clock;
    clock.start();
    store::Query query;
    query.setDateFields({QStringLiteral("dt")});
    query.bindFolder(store::dataFolder());
    query.addLines(statements::orders());
    query.open();
    const double open = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    clock.restart();
    reports::writeReport(reports::ReportKind::Orders, reports::ordersReportPath(folder), query,
                         columns, folder);
    const double report = static_cast<double>(clock.nsecsElapsed()) / 1e9;

    const QString database = store::databasePath(store::dataFolder());
    const QString select =
        query.sql().replace(QStringLiteral("like ? escape '\\'"), QStringLiteral("like '%%'"));
    const double shellOpen =
        shellSeconds(database, QStringLiteral(".output /dev/null\n") + select + ";\n");
    const double shellHtml = shellSeconds(database, QStringLiteral(".mode html\n.output ") +
                                                        folder + QStringLiteral("/shell.html\n") +
                                                        select + QStringLiteral(";\n"));
    std::printf("rows %d\n", query.recordCount());
    std::printf("open the orders list   %7.3f s   shell to /dev/null %7.3f s\n", open, shellOpen);
    std::printf("orders report          %7.3f s   shell .mode html   %7.3f s\n", report, shellHtml);
    return 0;
}
