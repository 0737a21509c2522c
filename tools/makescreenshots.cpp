// makescreenshots <folder>: the README's pictures of the main window, the dish editor, the
// order dialog, the orders view and the about box, rendered from the sample menu by the
// program's own windows (offscreen, in a temporary program folder).
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "forms/application.h"
#include "forms/windows.h"
#include "store/datafolder.h"

namespace {

bool save(QWidget& window, const QString& folder, const char* name) {
    QApplication::processEvents();
    const QString path = QStringLiteral("%1/%2.png").arg(folder, QLatin1String(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "makescreenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::OrvelinApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makescreenshots <makebase> <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir program;
    const QString base = program.path() + QStringLiteral("/base/orvelin.db");
    if (!QDir().mkpath(folder) || !QDir(program.path()).mkpath(QStringLiteral("img")) ||
        QProcess::execute(QString::fromLocal8Bit(argv[1]), {base}) != 0) {
        std::fprintf(stderr, "makescreenshots: cannot make the sample base\n");
        return 1;
    }
    store::setProgramFolder(program.path());

    forms::Windows windows;
    auto& [main, editor, order, orders, about, summary] = windows;
    main.show();
    main.findChild<QTableView*>(QStringLiteral("DBGrid1"))->selectRow(1);
    bool saved = save(main, folder, "main");

    editor.Mode = TForm2::EditMode;
    if (editor.FormShow()) {
        editor.show();
        saved = save(editor, folder, "editor") && saved;
        editor.hide();
    }
    if (order.FormShow()) {
        order.show();
        order.findChild<QLineEdit*>(QStringLiteral("Edit1"))
            ->setText(QStringLiteral("Асан Серікұлы"));
        order.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("2"));
        saved = save(order, folder, "order") && saved;
        order.hide();
    }
    orders.FormShow();
    orders.show();
    saved = save(orders, folder, "orders") && saved;
    orders.hide();
    about.show();
    saved = save(about, folder, "about") && saved;
    about.hide();
    summary.FormShow();
    summary.show();
    saved = save(summary, folder, "summary") && saved;
    return saved ? 0 : 1;
}
