// Measures the program against the sqlite3 shell on the same statements, in one run, and
// prints medians of five runs, their ratios and the targets. The program's side goes
// through its own windows and handlers, offscreen; the base folders come from bench/run.
//
//   QT_QPA_PLATFORM=offscreen bench_suite ORDERS_FOLDER PICTURES_FOLDER SMALL_FOLDER
//                                         [SUMMARY_FOLDER]
//   QT_QPA_PLATFORM=offscreen bench_suite summary SUMMARY_FOLDER   (the sales summary alone)
//
// Some measures need a process of their own (memory, start-up); the suite starts itself
// for them with a first argument naming the measure.
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "forms/windows.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/statements.h"
#include "ui/desktop.h"

namespace {

// Answers every question at once, as a user who only clicks OK.
class Silent : public ui::Desktop {
public:
    void message(ui::MessageKind, const QString&, const QString& text) override { last = text; }
    bool ask(ui::Question, const QString&, const QString&) override { return true; }
    QString openPictureName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    void openDocument(const QString&, const QString&) override {}
    QString last;
};

struct Windows : forms::Windows {
    explicit Windows(const QString& folder) {
        store::forgetConnections();
        store::setProgramFolder(folder);
    }
};

double seconds(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double median5(const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        times.push_back(run());
    }
    return median(times);
}

double shell(const QString& folder, const QString& script) {
    return seconds([&] {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {store::databasePath(folder + "/base")});
        sqlite.write(script.toUtf8());
        sqlite.closeWriteChannel();
        sqlite.waitForFinished(-1);
    });
}

double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

// A measure in a process of its own, which prints one number.
double child(const QStringList& arguments) {
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(), arguments);
    run.waitForFinished(-1);
    return run.readAllStandardOutput().trimmed().toDouble();
}

const QString kOrdersSql = QStringLiteral(
    "select o.fio fio, g.nm nm, o.kvo kvo, o.sena sena, o.summ summ, o.dt dt from orders o,goods "
    "g where (o.fio like '%%') and (o.code=g.code);\n");
const QString kDishesSql =
    QStringLiteral("select code, nm, tys, ps, vozr from goods where (vozr>0) order by nm asc;\n");

struct Row {
    const char* work;
    const char* size;
    double program;    // seconds, or MB for memory
    double reference;  // 0: an absolute target
    double target;     // ratio, or the absolute limit
    const char* unit;
};

void print(const std::vector<Row>& rows) {
    std::printf(
        "| work | size | program | shell | ratio | target | |\n|---|---|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        const bool absolute = r.reference == 0;
        const double ratio = absolute ? r.program : r.program / r.reference;
        const bool pass = ratio <= r.target;
        if (!absolute && r.target == 0) {
            std::printf("| %s | %s | %.3f s | %.3f s | %.2fx | (shown for comparison) | |\n",
                        r.work, r.size, r.program, r.reference, ratio);
            continue;
        }
        if (absolute) {
            std::printf("| %s | %s | %.3g %s | | | <= %g %s | %s |\n", r.work, r.size, r.program,
                        r.unit, r.target, r.unit, pass ? "pass" : "FAIL");
        } else {
            std::printf("| %s | %s | %.3f s | %.3f s | %.2fx | <= %gx | %s |\n", r.work, r.size,
                        r.program, r.reference, ratio, r.target, pass ? "pass" : "FAIL");
        }
    }
}

// Child measures.
int measureMemory(const QString& folder) {
    Windows w(folder);
    w.main.show();
    QCoreApplication::processEvents();
    for (int showing = 0; showing < 2; ++showing) {
        w.orders.show();
        w.orders.FormShow();
        QCoreApplication::processEvents();
        w.orders.hide();
    }
    std::printf("%.1f\n", peakMegabytes());
    return 0;
}

int measureCursor(const QString& folder, bool memory) {
    Windows w(folder);
    w.main.show();
    QCoreApplication::processEvents();
    const double total = seconds([&] {
        for (int row = 1; row <= 1000; ++row) {
            w.main.DBGrid1->selectRow(row);
        }
    });
    std::printf("%.6f\n", memory ? peakMegabytes() : total / 1000.0);
    return 0;
}

int measureStart(const QString& folder) {
    auto* w = new Windows(folder);
    // The first paint of the main window ends the measure.
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return false;
        }
    } firstPaint;
    w->main.installEventFilter(&firstPaint);
    w->main.show();
    const int code = QApplication::exec();
    std::_Exit(code);  // the measure is the whole process up to here
}

// A plain C loop's insert and commit: the reference for one order.
class PlainInsert {
public:
    explicit PlainInsert(const QString& folder) {
        sqlite3_open(QFile::encodeName(store::databasePath(folder + "/base")).constData(), &db_);
        sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
        sqlite3_prepare_v2(
            db_,
            "insert into orders (code,fio,kvo,sena,summ,dt) select ?,?,?,?,?,? where "
            "exists (select 1 from goods where Code = ?)",
            -1, &insert_, nullptr);
    }
    ~PlainInsert() {
        sqlite3_finalize(insert_);
        sqlite3_close(db_);
    }
    void run(int i) {
        sqlite3_bind_int64(insert_, 1, 1 + i % 100);
        sqlite3_bind_text(insert_, 2, "Асан Серікұлы", -1, SQLITE_STATIC);
        sqlite3_bind_int64(insert_, 3, 2);
        sqlite3_bind_int64(insert_, 4, 500);
        sqlite3_bind_int64(insert_, 5, 1000);
        sqlite3_bind_text(insert_, 6, "2026-12-09", -1, SQLITE_STATIC);
        sqlite3_bind_int64(insert_, 7, 1 + i % 100);
        sqlite3_step(insert_);
        sqlite3_reset(insert_);
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

// The sales summary over a base of ten million orders: a change of grouping with a month's
// and a year's range (the table and the chart redrawn), and every order line against the
// shell's run of the same statement.
void summaryRows(const QString& folder, std::vector<Row>& rows) {
    static std::deque<std::string> names;
    auto name = [](const QString& text) { return names.emplace_back(text.toStdString()).c_str(); };
    Windows w(folder);
    w.main.show();
    QCoreApplication::processEvents();
    TFormSummary& form = w.summary;
    form.show();
    form.FormShow();
    const auto [first, last] = store::orderDates(store::dataFolder());
    QRadioButton* buttons[] = {form.RadioButton1, form.RadioButton2, form.RadioButton3,
                               form.RadioButton4, form.RadioButton5};
    const char* const groupings[] = {"day", "month", "waiter", "dish", "group"};
    auto redraw = [&] {
        return seconds([&] {
            form.RadioButtonClick();
            form.DBGrid1->grab();
            form.Chart1->grab();
        });
    };
    const QDate monthStart(last.year(), last.month(), 1);
    const std::tuple<const char*, QDate, double> ranges[] = {
        {"a month", monthStart, 100}, {"a year", last.addDays(1).addYears(-1), 500}};
    for (const auto& [span, from, limit] : ranges) {
        form.DateTimePicker1->setDate(from);
        form.DateTimePicker2->setDate(last);
        for (int g = 0; g < 5; ++g) {
            buttons[g]->setChecked(true);
            rows.push_back({name(QStringLiteral("sales summary by %1, %2 (table and chart)")
                                     .arg(QLatin1String(groupings[g]), QLatin1String(span))),
                            "10 000 000 orders", median5(redraw) * 1000, 0, limit, "ms"});
        }
    }
    form.Button6->click();
    for (int g = 0; g < 5; ++g) {
        buttons[g]->setChecked(true);
        const QString sql = statements::summary(static_cast<store::Grouping>(g), false);
        rows.push_back({name(QStringLiteral("sales summary by %1, every order line")
                                 .arg(QLatin1String(groupings[g]))),
                        "10 000 000 orders", median5(redraw),
                        median5([&] { return shell(folder, sql + QStringLiteral(";\n")); }), 1.2,
                        ""});
    }
    form.hide();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Silent silent;
    ui::setDesktop(&silent);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("memory")) {
        return measureMemory(args[1]);
    }
    if (args.size() == 2 && args[0] == QLatin1String("cursor")) {
        return measureCursor(args[1], false);
    }
    if (args.size() == 2 && args[0] == QLatin1String("cursor-memory")) {
        return measureCursor(args[1], true);
    }
    if (args.size() == 2 && args[0] == QLatin1String("start")) {
        return measureStart(args[1]);
    }
    if (args.size() == 2 && args[0] == QLatin1String("summary")) {
        std::vector<Row> rows;
        summaryRows(args[1], rows);
        print(rows);
        return 0;
    }
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr,
                     "usage: bench_suite ORDERS_FOLDER PICTURES_FOLDER SMALL_FOLDER "
                     "[SUMMARY_FOLDER]\n");
        return 2;
    }
    const QString big = args[0];
    const QString pictures = args[1];
    const QString small = args[2];
    std::vector<Row> rows;
    {
        Windows w(big);
        w.main.show();
        QCoreApplication::processEvents();
        rows.push_back({"open the orders view (statement, count, first screen)", "1 000 000 orders",
                        median5([&] {
                            return seconds([&] {
                                w.orders.FormShow();
                                w.orders.DBGrid1->grab();
                            });
                        }),
                        median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\n") + kOrdersSql);
                        }),
                        1.2, ""});
        rows.push_back({"resident memory, orders view open and reopened", "1 000 000 orders",
                        child({QStringLiteral("memory"), big}), 0, 100, "MB"});
        w.orders.RadioButton2->setChecked(true);
        w.orders.Edit1->setText(QStringLiteral("Асан"));
        rows.push_back(
            {"orders search by waiter", "1 000 000 orders",
             median5([&] { return seconds([&] { w.orders.BitBtn2Click(); }); }), median5([&] {
                 return shell(big, QStringLiteral(".output /dev/null\nselect o.fio fio, g.nm nm, "
                                                  "o.kvo kvo, o.sena sena, o.summ summ, o.dt dt "
                                                  "from orders o,goods g where (fio like "
                                                  "'%Асан%') and (o.code=g.code);\n"));
             }),
             1.2, ""});
        w.orders.FormShow();
        rows.push_back({"orders report of every row", "1 000 000 orders",
                        median5([&] { return seconds([&] { w.orders.BitBtn1Click(); }); }),
                        median5([&] {
                            return shell(big, QStringLiteral(".mode html\n.output ") + big +
                                                  QStringLiteral("/shell.html\n") + kOrdersSql);
                        }),
                        2.0, ""});
        w.orders.Query1.close();
        rows.push_back({"open the dish list", "100 000 dishes",
                        median5([&] { return seconds([&] { w.main.FormShow(); }); }), median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\n") + kDishesSql);
                        }),
                        1.2, ""});
        w.main.RadioButton1->setChecked(true);
        w.main.Edit1->setText(QStringLiteral("дәмді"));
        rows.push_back({"search by name, Kazakh lower-case text", "100 000 dishes",
                        median5([&] { return seconds([&] { w.main.BitBtn1Click(); }); }),
                        median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\nselect code, nm, "
                                                             "tys, ps, vozr from goods where (nm "
                                                             "like '%дәмді%') order by nm asc;\n"));
                        }),
                        2.0, ""});
        w.main.FormShow();
        rows.push_back({"sort by price, then by name", "100 000 dishes", median5([&] {
                            return seconds([&] {
                                w.main.DBGrid1TitleClick(2);
                                w.main.DBGrid1TitleClick(0);
                            });
                        }),
                        median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\nselect code, nm, "
                                                             "tys, ps, vozr from goods where "
                                                             "(vozr>0) order by ps desc;\n") +
                                                  kDishesSql);
                        }),
                        1.2, ""});
    }
    rows.push_back({"move the current row, picture and description shown", "10 000 with pictures",
                    median5([&] {
                        return child({QStringLiteral("cursor"), pictures}) * 1000;
                    }),
                    0, 1, "ms a row"});
    rows.push_back({"resident memory while moving through them", "10 000 with pictures",
                    child({QStringLiteral("cursor-memory"), pictures}), 0, 60, "MB"});
    {
        Windows w(pictures);
        w.main.show();
        QCoreApplication::processEvents();
        rows.push_back(
            {"menu report with pictures", "10 000 with pictures",
             median5([&] { return seconds([&] { w.main.MenuReportClick(); }); }), median5([&] {
                 return shell(pictures,
                              QStringLiteral(".output /dev/null\nselect writefile('") + pictures +
                                  QStringLiteral("/img/' || row_number() over (order by g.nm) || "
                                                 "'.bmp', p.Img) from goods g left join pictures p "
                                                 "on p.Code = g.Code where (g.vozr>0) order by "
                                                 "g.nm;\n"));
             }),
             1.0, ""});
    }
    {
        Windows w(small);
        w.main.show();
        QCoreApplication::processEvents();
        // The disk's syncs dominate and wander: the two sides take turns, order by order.
        // The recording is the OK handler; opening the dialog and typing into it are shown
        // apart, as they are the widgets' work, not the store's.
        PlainInsert plain(small);
        std::vector<double> recording;
        std::vector<double> whole;
        std::vector<double> plainC;
        for (int run = 0; run < 5; ++run) {
            double ok = 0;
            double cycle = 0;
            double theirs = 0;
            for (int i = 0; i < 1000; ++i) {
                cycle += seconds([&] {
                    w.order.FormShow();
                    w.order.Edit1->setText(QStringLiteral("Асан Серікұлы"));
                    w.order.Edit2->setText(QStringLiteral("2"));
                    ok += seconds([&] { w.order.BitBtn1Click(); });
                });
                theirs += seconds([&] { plain.run(i); });
            }
            recording.push_back(ok);
            whole.push_back(cycle);
            plainC.push_back(theirs);
        }
        rows.push_back({"record 1 000 orders (OK), each committed and synced", "1 000 dishes",
                        median(recording), median(plainC), 1.2, ""});
        rows.push_back({"the same with opening the dialog and typing each order", "1 000 dishes",
                        median(whole), median(plainC), 0, ""});
    }
    rows.push_back({"start to the first painted main window, whole process", "1 000 dishes",
                    median5([&] {
                        return seconds([&] { child({QStringLiteral("start"), small}); }) * 1000;
                    }),
                    0, 300, "ms"});
    if (args.size() == 4) {
        summaryRows(args[3], rows);
    }
    print(rows);
    return 0;
}
