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

#include "forms/windows.h"
#include "store/datafolder.h"
#include "ui/desktop.h"
#include "ui/guard.h"

namespace {

// Any message means the record was not acknowledged.
class Refusing : public ui::Desktop {
public:
    void message(ui::MessageKind, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    }
    bool ask(ui::Question, const QString&, const QString&) override { return false; }
    QString openPictureName(QWidget*, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter&) override { return false; }
    void openDocument(const QString&, const QString&,
                      const std::function<void(const QString&)>&) override {}
    bool failed = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    store::setProgramFolder(QString::fromLocal8Bit(argv[1]));
    const int first = std::atoi(argv[2]);
    Refusing answers;
    ui::setDesktop(&answers);
    forms::Windows windows;
    auto& [main, editor, order, orders, about, summary] = windows;
    main.show();
    for (int n = first;; ++n) {
        if (n % 10 == 0) {
            editor.Mode = TForm2::InsertMode;
            if (!editor.FormShow()) {
                return 1;
            }
            editor.DBEdit1->setText(QString::number(n));
            editor.DBEdit2->setText(QStringLiteral("Тағам %1").arg(n));
            editor.DBEdit3->setText(QStringLiteral("Топ"));
            editor.DBEdit5->setText(QStringLiteral("100"));
            editor.DBEdit6->setText(QStringLiteral("5"));
            editor.DBMemo1->setPlainText(QStringLiteral("Сипаттама"));
            ui::guarded([&] { editor.BitBtn2Click(); });
            if (answers.failed) {
                return 1;
            }
            std::printf("dish %d\n", n);
        } else {
            if (!order.FormShow()) {
                return 1;
            }
            order.Edit1->setText(QStringLiteral("Даяшы %1").arg(n));
            order.Edit2->setText(QStringLiteral("1"));
            ui::guarded([&] { order.BitBtn1Click(); });
            if (answers.failed) {
                return 1;
            }
            std::printf("order %d\n", n);
        }
        std::fflush(stdout);
    }
}
