// Measures the program against the sqlite3 shell on the same statements, in one run, and
// prints medians of five runs, their ratios and the targets. The program's side goes
// through its own windows and handlers, offscreen; the base folders come from bench/run.
//
//   QT_QPA_PLATFORM=offscreen bench_suite ORDERS_FOLDER PICTURES_FOLDER SMALL_FOLDER
//                                         [TEN_MILLION_ORDERS_FOLDER]
//   QT_QPA_PLATFORM=offscreen bench_suite summary FOLDER   (the sales summary alone)
//
// Some measures need a process of their own (memory, start-up); the suite starts itself
// for them with a first argument naming the measure.
#include <sqlite3.h>

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
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

#include "store/database.h"
#include "store/datafolder.h"
#include "store/statements.h"
#include "tests/support.h"

namespace {

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
// The dish list in the Kazakh alphabet's order, by the sort keys kept beside the dishes (the
// shell knows no kazakh_key(), which the program calls only for a key not made yet).
const QString kDishesSql = QStringLiteral(
    "select code, nm, tys, ps, vozr from goods left join sortkeys using (code) where (vozr>0) "
    "order by NmKey asc;\n");

// A key pressed on a widget, as the user presses it.
void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &up);
}

// The grid painted as the screen shows it: the measure of "until the first screen".
void painted(QWidget* grid) {
    grid->grab();
}

QString ordersWhere(const QString& pattern) {
    return QStringLiteral(
               "select o.fio fio, g.nm nm, o.kvo kvo, o.sena sena, o.summ summ, o.dt dt from "
               "orders o,goods g where (o.fio like '%1' escape '\\') and (o.code=g.code);\n")
        .arg(pattern);
}

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

// A phone photo's worth of JPEG: 4 000 x 3 000, soft colour gradients under fine grain, at
// the quality a phone saves (about 3-5 MB).
void makePhoto(const QString& path) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    quint32 grain = 12345;
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 28) - 8;
            line[x] = qRgb(std::clamp(x * 255 / 4000 + noise, 0, 255),
                           std::clamp(y * 255 / 3000 + noise, 0, 255),
                           std::clamp(128 + ((x / 40 + y / 30) % 2) * 60 + noise, 0, 255));
        }
    }
    photo.save(path, "JPEG", 92);
}

// A phone photo chosen for a new dish, then OK: the handlers as the buttons run them, the
// main list's reopening included. The dishes go again afterwards.
void photoRows(const QString& small, ScriptedDesktop& silent, std::vector<Row>& rows) {
    static QByteArray photoSize;  // the rows keep a pointer to it
    {
        Windows w(small);
        w.main.show();
        QCoreApplication::processEvents();
        silent.pictureName = small + QStringLiteral("/photo-12mp.jpg");
        if (!QFileInfo::exists(silent.pictureName)) {
            makePhoto(silent.pictureName);
        }
        photoSize =
            QStringLiteral("4 000 x 3 000 JPEG, %1 MB, 1 000 dishes")
                .arg(static_cast<double>(QFileInfo(silent.pictureName).size()) / 1e6, 0, 'f', 1)
                .toUtf8();
        std::vector<double> choose;
        std::vector<double> ok;
        const QString name = QStringLiteral("Өлшеуге қосылған тағам");
        for (int run = 0; run < 5; ++run) {
            w.editor.Mode = TForm2::InsertMode;
            w.editor.FormShow();
            control<QLineEdit>(w.editor, "DBEdit1")->setText(QString::number(990001 + run));
            control<QLineEdit>(w.editor, "DBEdit2")->setText(name);
            control<QLineEdit>(w.editor, "DBEdit3")->setText(QStringLiteral("Өлшеу"));
            control<QLineEdit>(w.editor, "DBEdit5")->setText(QStringLiteral("100"));
            control<QLineEdit>(w.editor, "DBEdit6")->setText(QStringLiteral("5"));
            control<QPlainTextEdit>(w.editor, "DBMemo1")->setPlainText(QStringLiteral("Сурет"));
            choose.push_back(seconds([&] { w.editor.BitBtn1Click(); }) * 1000);
            ok.push_back(seconds([&] { w.editor.BitBtn2Click(); }) * 1000);
        }
        silent.pictureName.clear();
        control<QRadioButton>(w.main, "RadioButton1")->setChecked(true);
        control<QLineEdit>(w.main, "Edit1")->setText(name);
        w.main.BitBtn1Click();
        w.main.DeleteClick();  // every dish of that name
        rows.push_back({"choose a phone photo for a dish (scaled, upright)", photoSize.constData(),
                        median(choose), 0, 300, "ms"});
        rows.push_back({"OK with it: stored as a bitmap, list reopened", photoSize.constData(),
                        median(ok), 0, 300, "ms"});
    }
}

// Child measures.
// Open the orders view, go to its end, close it, open it again; then, as another measure,
// its report of every row.
int measureOrdersMemory(const QString& folder, bool report) {
    Windows w(folder);
    w.main.show();
    QCoreApplication::processEvents();
    if (report) {
        w.orders.show();
        w.orders.FormShow();
        const double spent = seconds([&] { w.orders.BitBtn1Click(); });
        std::fprintf(stderr, "report %.3f s\n", spent);  // for a profile of that alone
        w.orders.hide();
    } else {
        for (int showing = 0; showing < 2; ++showing) {
            w.orders.show();
            w.orders.FormShow();
            QCoreApplication::processEvents();
            QTableView* grid = control<QTableView>(w.orders, "DBGrid1");
            press(grid, Qt::Key_End, Qt::ControlModifier);
            painted(grid);
            grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum() / 2);
            painted(grid);
            w.orders.hide();
        }
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
            control<QTableView>(w.main, "DBGrid1")->selectRow(row);
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
    QRadioButton* buttons[] = {
        control<QRadioButton>(form, "RadioButton1"), control<QRadioButton>(form, "RadioButton2"),
        control<QRadioButton>(form, "RadioButton3"), control<QRadioButton>(form, "RadioButton4"),
        control<QRadioButton>(form, "RadioButton5")};
    const char* const groupings[] = {"day", "month", "waiter", "dish", "group"};
    QTableView* grid = control<QTableView>(form, "DBGrid1");
    QChartView* chart = control<QChartView>(form, "Chart1");
    auto redraw = [&] {
        return seconds([&] {
            form.RadioButtonClick();
            grid->grab();
            chart->grab();
        });
    };
    const QDate monthStart(last.year(), last.month(), 1);
    const std::tuple<const char*, QDate, double> ranges[] = {
        {"a month", monthStart, 100}, {"a year", last.addDays(1).addYears(-1), 500}};
    for (const auto& [span, from, limit] : ranges) {
        control<forms::DatePicker>(form, "DateTimePicker1")->setDate(from);
        control<forms::DatePicker>(form, "DateTimePicker2")->setDate(last);
        for (int g = 0; g < 5; ++g) {
            buttons[g]->setChecked(true);
            rows.push_back({name(QStringLiteral("sales summary by %1, %2 (table and chart)")
                                     .arg(QLatin1String(groupings[g]), QLatin1String(span))),
                            "10 000 000 orders", median5(redraw) * 1000, 0, limit, "ms"});
        }
    }
    control<QPushButton>(form, "Button6")->click();
    for (int g = 0; g < 5; ++g) {
        buttons[g]->setChecked(true);
        const QString sql = store::statements::summary(static_cast<store::Grouping>(g), false);
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
    ScriptedDesktop silent;  // a user who only clicks OK
    silent.answerRest = true;
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("orders-memory")) {
        return measureOrdersMemory(args[1], false);
    }
    if (args.size() == 2 && args[0] == QLatin1String("report-memory")) {
        return measureOrdersMemory(args[1], true);
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
    if (args.size() == 2 && args[0] == QLatin1String("photo")) {
        std::vector<Row> rows;
        photoRows(args[1], silent, rows);
        print(rows);
        return 0;
    }
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr,
                     "usage: bench_suite ORDERS_FOLDER PICTURES_FOLDER SMALL_FOLDER "
                     "[TEN_MILLION_ORDERS_FOLDER]\n"
                     "       bench_suite photo SMALL_FOLDER\n");
        return 2;
    }
    const QString big = args[0];
    const QString pictures = args[1];
    const QString small = args[2];
    std::vector<Row> rows;
    QStringList orderBases = {big};
    if (args.size() == 4) {
        orderBases.append(args[3]);
    }
    for (const QString& base : orderBases) {
        const char* size = base == big ? "1 000 000 orders" : "10 000 000 orders";
        Windows w(base);
        w.main.show();
        QCoreApplication::processEvents();
        TForm4& view = w.orders;
        QTableView* grid = control<QTableView>(view, "DBGrid1");
        view.show();
        QCoreApplication::processEvents();
        // Each measure starts from a view just opened, its count not yet learnt.
        rows.push_back({"Ctrl+K until the first screen of rows", size, median5([&] {
                            view.Query1.close();
                            return seconds([&] {
                                       view.FormShow();
                                       painted(grid);
                                   }) *
                                   1000;
                        }),
                        0, 50, "ms"});
        rows.push_back({"the count learnt in steps on the event loop", size, median5([&] {
                            view.FormShow();
                            painted(grid);
                            return seconds([&] {
                                while (!view.Query1.countKnown()) {
                                    QCoreApplication::processEvents();
                                }
                            });
                        }),
                        median5([&] {
                            return shell(base, QStringLiteral("select count(*) from orders o,goods "
                                                              "g where (o.fio like '%%' escape "
                                                              "'\\') and (o.code=g.code);\n"));
                        }),
                        0, ""});
        rows.push_back({"Ctrl+End until the last row is shown", size, median5([&] {
                            view.Query1.close();
                            view.FormShow();
                            painted(grid);
                            return seconds([&] {
                                press(grid, Qt::Key_End, Qt::ControlModifier);
                                painted(grid);
                            });
                        }),
                        0, base == big ? 1.5 : 3.0, "s"});
        rows.push_back({"peak memory: open, to the end, scroll, close, reopen", size,
                        child({QStringLiteral("orders-memory"), base}), 0, 60, "MB"});
        control<QRadioButton>(view, "RadioButton2")->setChecked(true);
        control<QLineEdit>(view, "Edit1")->setText(QStringLiteral("Асан"));
        rows.push_back({"a waiter search until its first screen", size, median5([&] {
                            return seconds([&] {
                                       view.BitBtn2Click();
                                       painted(grid);
                                   }) *
                                   1000;
                        }),
                        0, 50, "ms"});
        control<QLineEdit>(view, "Edit1")->setText(QStringLiteral("Жоқ Даяшы"));
        rows.push_back({"a waiter search that finds nothing", size, median5([&] {
                            return seconds([&] {
                                view.BitBtn2Click();
                                painted(grid);
                            });
                        }),
                        median5([&] {
                            return shell(base, QStringLiteral(".output /dev/null\n") +
                                                   ordersWhere(QStringLiteral("%Жоқ Даяшы%")));
                        }),
                        1.2, ""});
        control<QLineEdit>(view, "Edit1")->clear();
        view.FormShow();
        rows.push_back({"orders report of every row", size, median5([&] {
                            view.FormShow();
                            return seconds([&] { view.BitBtn1Click(); });
                        }),
                        median5([&] {
                            return shell(base, QStringLiteral(".mode html\n.output ") + base +
                                                   QStringLiteral("/shell.html\n") + kOrdersSql);
                        }),
                        1.2, ""});
        rows.push_back({"peak memory of that report", size,
                        child({QStringLiteral("report-memory"), base}), 0, 60, "MB"});
        view.hide();
        if (base != big) {
            continue;
        }
        rows.push_back({"open the dish list", "100 000 dishes",
                        median5([&] { return seconds([&] { w.main.FormShow(); }); }), median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\n") + kDishesSql);
                        }),
                        1.2, ""});
        // The alphabet's order against the order of the names' bytes, both through the
        // program's own list (the shell spends most of its time writing the rows out): the
        // same statement, sorted by the bytes of the names as the program did before.
        const auto byBytes = [&] {
            return seconds([&] {
                w.main.Query1->replaceLine(1, {QStringLiteral("from goods"), {}});
                w.main.Query1->replaceLine(store::statements::OrderLine,
                                           {QStringLiteral("order by nm asc"), {}});
                w.main.Query1->open();
            });
        };
        rows.push_back(
            {"open the dish list in alphabet order (reference: the program sorting by "
             "bytes)",
             "100 000 dishes", median5([&] { return seconds([&] { w.main.FormShow(); }); }),
             median5(byBytes), 1.5, ""});
        w.main.FormShow();
        rows.push_back({"sort by name, one title click (reference: the program sorting by bytes)",
                        "100 000 dishes",
                        median5([&] { return seconds([&] { w.main.DBGrid1TitleClick(0); }); }),
                        median5(byBytes), 1.5, ""});
        w.main.FormShow();
        control<QRadioButton>(w.main, "RadioButton1")->setChecked(true);
        control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("дәмді"));
        rows.push_back({"search by name, Kazakh lower-case text", "100 000 dishes",
                        median5([&] { return seconds([&] { w.main.BitBtn1Click(); }); }),
                        median5([&] {
                            return shell(big, QStringLiteral(".output /dev/null\nselect code, nm, "
                                                             "tys, ps, vozr from goods left join "
                                                             "sortkeys using (code) where (nm "
                                                             "like '%дәмді%') order by NmKey "
                                                             "asc;\n"));
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
                 return shell(
                     pictures,
                     QStringLiteral(".output /dev/null\nselect writefile('") + pictures +
                         QStringLiteral("/img/' || row_number() over (order by k.NmKey) || "
                                        "'.bmp', p.Img) from goods g left join sortkeys k "
                                        "on k.Code = g.Code left join pictures p on "
                                        "p.Code = g.Code where (g.vozr>0) order by "
                                        "k.NmKey;\n"));
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
                    control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан Серікұлы"));
                    control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("2"));
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
    photoRows(small, silent, rows);
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
