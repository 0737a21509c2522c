#include <QAction>
#include <QtTest>

#include "tests/support.h"

// A desktop without any printer: the print command says so and prints nothing.
class NoPrinterTest : public QObject {
    Q_OBJECT

private slots:
    void printingWithoutAPrinter() {
        Session session;
        auto& [folder, answers, w] = session;
        folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 100, 5);
        w.show();
        bool asked = false;
        answers.printerChoice = [&](QPrinter&) {
            asked = true;
            return true;
        };
        w.main.action(QStringLiteral("print"))->trigger();
        QVERIFY(!asked);
        QCOMPARE(answers.texts(),
                 QStringList({QStringLiteral("There is no default printer currently selected.")}));
    }
};

int main(int argc, char** argv) {
    // No print service to ask: the printer list is empty, whatever this machine has.
    qputenv("CUPS_SERVER", "/nonexistent/orvelin-test.sock");
    QApplication app(argc, argv);
    NoPrinterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_noprinter.moc"
