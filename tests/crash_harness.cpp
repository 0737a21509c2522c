// Records orders and saves dishes through the program's own dialogs, offscreen, as fast as
// it can, and prints a line for each one the program acknowledged. tst_crash kills it at
// random moments and checks that every acknowledged record survived.
//
//   crash_harness PROGRAM_FOLDER FIRST_NUMBER
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstdlib>

#include "tests/support.h"
#include "ui/guard.h"

namespace {

// Any message means the record was not acknowledged: says it and stops the run.
bool refused(const ScriptedDesktop& answers) {
    if (answers.messages.isEmpty()) {
        return false;
    }
    std::fprintf(stderr, "message: %s\n", qPrintable(answers.lastText()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    const int first = std::atoi(argv[2]);
    ScriptedDesktop answers;
    Windows windows(QString::fromLocal8Bit(argv[1]));
    auto& [main, editor, order, orders, about, summary] = windows;
    main.show();
    for (int n = first;; ++n) {
        if (n % 10 == 0) {
            editor.Mode = TForm2::InsertMode;
            if (!editor.FormShow()) {
                refused(answers);
                return 1;
            }
            control<QLineEdit>(editor, "DBEdit1")->setText(QString::number(n));
            control<QLineEdit>(editor, "DBEdit2")->setText(QStringLiteral("Тағам %1").arg(n));
            control<QLineEdit>(editor, "DBEdit3")->setText(QStringLiteral("Топ"));
            control<QLineEdit>(editor, "DBEdit5")->setText(QStringLiteral("100"));
            control<QLineEdit>(editor, "DBEdit6")->setText(QStringLiteral("5"));
            control<QPlainTextEdit>(editor, "DBMemo1")->setPlainText(QStringLiteral("Сипаттама"));
            ui::guarded([&] { editor.BitBtn2Click(); });
            if (refused(answers)) {
                return 1;
            }
            std::printf("dish %d\n", n);
        } else {
            if (!order.FormShow()) {
                refused(answers);
                return 1;
            }
            control<QLineEdit>(order, "Edit1")->setText(QStringLiteral("Даяшы %1").arg(n));
            control<QLineEdit>(order, "Edit2")->setText(QStringLiteral("1"));
            ui::guarded([&] { order.BitBtn1Click(); });
            if (refused(answers)) {
                return 1;
            }
            std::printf("order %d\n", n);
        }
        std::fflush(stdout);
    }
}
