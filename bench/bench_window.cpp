// Times the main window on a large menu: showing it (which opens the list), a search by name
// and a title click, through the same handlers a user reaches.
//
//   QT_QPA_PLATFORM=offscreen bench_window [dishes=100000]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "forms/frmMain.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/statements.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int dishes = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("base"));
    store::setProgramFolder(dir.path());
    {
        auto db = store::Database::create(store::databasePath(store::dataFolder()));
        store::Transaction transaction(*db);
        store::Statement dish(*db, statements::dishRowInsert());
        store::Statement picture(*db, statements::pictureRowInsert());
        const QByteArray bytes(20000, 'x');
        for (int i = 1; i <= dishes; ++i) {
            dish.bindAll({i, QStringLiteral("Тағам %1").arg((i * 7919) % dishes),
                          QStringLiteral("Топ %1").arg(i % 40), (i * 37) % 5000, i % 120,
                          QStringLiteral("Сипаттама")});
            dish.run();
            picture.bindAll({i, bytes});
            picture.run();
        }
        transaction.commit();
    }
    TForm1 window;
    QElapsedTimer timer;
    timer.start();
    window.show();  // runs FormShow
    const double show = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    window.Query1->close();
    window.Query1->open();
    const double reopen = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    window.DBGrid1TitleClick(2);
    const double sort = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf(
        "%d dishes: show the window %.0f ms, reopen the list %.0f ms, sort by price %.0f "
        "ms; list of %d rows\n",
        dishes, show, reopen, sort, window.Query1->recordCount());
    return 0;
}
