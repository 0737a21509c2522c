// Times the dish list at scale: opening it, searching, sorting and reading the current
// dish's picture, on a base of N dishes with pictures, and the same scan through the sqlite3
// shell. It also times the scan on a base that keeps the pictures inside the dish rows, the
// layout the schema avoids.
//
//   bench_list [dishes=100000] [picture bytes=20000]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <optional>

#include "store/database.h"
#include "store/datafolder.h"
#include "store/dishdetails.h"
#include "store/query.h"
#include "store/statements.h"

namespace {

double millis(const std::function<void()>& work, int repeats = 3) {
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

void fill(store::Database& db, int dishes, int pictureBytes, bool pictureInRow) {
    store::Transaction transaction(db);
    store::Statement dish(db, pictureInRow ? QStringLiteral("insert into goods (Code, Nm, Tys, DS, "
                                                            "PS, Vozr, Comm, Img) values (?, ?, "
                                                            "?, 4, ?, ?, ?, ?)")
                                           : QStringLiteral("insert into goods (Code, Nm, Tys, DS, "
                                                            "PS, Vozr, Comm) values (?, ?, ?, 4, "
                                                            "?, ?, ?)"));
    std::optional<store::Statement> picture;
    if (!pictureInRow) {
        picture.emplace(db, QStringLiteral("insert into pictures (Code, Img) values (?, ?)"));
    }
    QByteArray bytes(pictureBytes, 'x');
    for (int i = 1; i <= dishes; ++i) {
        bytes[i % bytes.size()] = static_cast<char>(i);
        QVariantList values = {i,
                               QStringLiteral("Тағам %1 қуырдақ").arg((i * 7919) % dishes),
                               QStringLiteral("Топ %1").arg(i % 40),
                               (i * 37) % 5000,
                               i % 120,
                               QStringLiteral("Сипаттама %1").arg(i)};
        if (pictureInRow) {
            values.append(bytes);
        }
        dish.bindAll(values);
        dish.run();
        if (!pictureInRow) {
            picture->bindAll({i, bytes});
            picture->run();
        }
    }
    transaction.commit();
}

double shellMillis(const QString& path, const QString& sql) {
    return millis([&] {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"), {path, sql});
        shell.waitForFinished(-1);
        shell.readAllStandardOutput();
    });
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int dishes = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int pictureBytes = argc > 2 ? std::atoi(argv[2]) : 20000;
    QTemporaryDir dir;
    const QString data = dir.path() + QStringLiteral("/base");
    QDir().mkpath(data);
    const QString path = store::databasePath(data);
    {
        auto db = store::Database::create(path);
        fill(*db, dishes, pictureBytes, false);
    }
    std::printf("%d dishes, %d-byte pictures\n", dishes, pictureBytes);

    store::Query list;
    list.setDataFolder(data);
    list.addLines(statements::dishList());
    const double open = millis([&] {
        list.close();
        list.open();
    });
    std::printf("open the list (%d rows):           %8.1f ms\n", list.recordCount(), open);
    const double byName = millis([&] {
        list.replaceLine(statements::FilterLine, statements::nameFilter(QStringLiteral("ҚУЫР")));
        list.open();
    });
    std::printf("search by name (%d rows):          %8.1f ms\n", list.recordCount(), byName);
    const double byPrice = millis([&] {
        list.replaceLine(statements::FilterLine, statements::priceFilter(QStringLiteral("<100")));
        list.open();
    });
    std::printf("search by price (%d rows):          %8.1f ms\n", list.recordCount(), byPrice);
    list.replaceLine(statements::FilterLine, {QStringLiteral("(vozr>0)"), {}});
    const double sort = millis([&] {
        list.replaceLine(statements::OrderLine, statements::sortOrder(2, true));
        list.open();
    });
    std::printf("sort by price:                       %8.1f ms\n", sort);
    const double details = millis(
        [&] {
            for (int i = 0; i < 100; ++i) {
                store::readDishDetails(data, list.value(i * 97, 0));
            }
        },
        1);
    std::printf("picture and description of a dish: %8.3f ms\n", details / 100);

    const QString scan =
        QStringLiteral("select code, nm, tys, ps, vozr from goods where (vozr>0) order by nm asc");
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty()) {
        std::printf("(no sqlite3 shell here to compare with)\n");
        return 0;
    }
    const double shell = shellMillis(path, scan);
    std::printf("the same list in the sqlite3 shell: %8.1f ms  (program / shell: %.2f)\n", shell,
                open / shell);

    // The layout the schema avoids: pictures inside the dish rows.
    const QString inRow = dir.path() + QStringLiteral("/inrow.db");
    {
        auto db = store::Database::create(inRow);
        db->exec(QStringLiteral("drop table pictures; alter table goods add column Img BLOB"));
        fill(*db, dishes, pictureBytes, true);
    }
    const double inRowShell = shellMillis(inRow, scan);
    std::printf("pictures inside the rows, shell:    %8.1f ms  (%.1f times the side table)\n",
                inRowShell, inRowShell / shell);
    return 0;
}
