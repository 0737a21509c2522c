#include <signal.h>

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QtTest>

#include "store/database.h"
#include "store/datafolder.h"
#include "tests/support.h"

namespace {
int kills = 30;
}

// Crash safety: the harness records orders and dishes through the program's dialogs and is
// killed (SIGKILL) at random moments. After each kill the base is whole and holds every
// record the program had acknowledged.
class CrashTest : public QObject {
    Q_OBJECT

private slots:
    void killedAtRandomLosesNothingAcknowledged();
};

void CrashTest::killedAtRandomLosesNothingAcknowledged() {
    TestFolder folder;
    folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
    const QString harness =
        QCoreApplication::applicationDirPath() + QStringLiteral("/crash_harness");
    QRandomGenerator random(20261209);
    int acknowledged = 0;
    int lost = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        run.setProcessEnvironment(environment);
        run.start(harness, {folder.path(), QString::number(1000 + kill * 100000)});
        QVERIFY(run.waitForStarted());
        QThread::msleep(150 + random.bounded(400));
        ::kill(static_cast<pid_t>(run.processId()), SIGKILL);
        QVERIFY(run.waitForFinished(10000));
        const QStringList lines =
            QString::fromUtf8(run.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(run.exitStatus() == QProcess::CrashExit,
                 qPrintable(QString::fromUtf8(run.readAllStandardError())));
        store::forgetConnections();
        auto db = store::Database::open(store::databasePath(folder.dataFolder()));
        store::Statement check(*db, QStringLiteral("PRAGMA integrity_check"));
        QVERIFY(check.step());
        QCOMPARE(check.column(0).toString(), QStringLiteral("ok"));
        check.run();
        // What the base holds, read once per kill.
        QSet<QString> waiters;
        QSet<qint64> dishes;
        store::Statement orders(*db, QStringLiteral("select fio from orders"));
        while (orders.step()) {
            waiters.insert(orders.column(0).toString());
        }
        store::Statement goods(*db, QStringLiteral("select Code from goods"));
        while (goods.step()) {
            dishes.insert(goods.column(0).toLongLong());
        }
        for (const QString& line : lines) {
            const QStringList parts = line.split(u' ');
            if (parts.size() != 2) {
                continue;  // cut off by the kill: not acknowledged in full
            }
            ++acknowledged;
            const bool present = parts[0] == QLatin1String("dish")
                                     ? dishes.contains(parts[1].toLongLong())
                                     : waiters.contains(QStringLiteral("Даяшы ") + parts[1]);
            lost += present ? 0 : 1;
        }
    }
    qInfo("%d kills, %d acknowledged records, %d lost", kills, acknowledged, lost);
    QVERIFY(acknowledged > kills);  // the harness really worked between the kills
    QCOMPARE(lost, 0);
}

int main(int argc, char** argv) {
    // "tst_crash 500" kills five hundred times; the test command's run kills thirty.
    if (argc > 1 && QByteArray(argv[1]).toInt() > 0) {
        kills = QByteArray(argv[1]).toInt();
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    QCoreApplication app(argc, argv);
    CrashTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crash.moc"
