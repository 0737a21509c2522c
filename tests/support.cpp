#include "tests/support.h"

#include <QApplication>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <utility>

#include "store/datafolder.h"

ScriptedDesktop::ScriptedDesktop() {
    ui::setDesktop(this);
}

ScriptedDesktop::~ScriptedDesktop() {
    ui::setDesktop(nullptr);
}

void ScriptedDesktop::message(ui::MessageKind kind, const QString& caption, const QString& text) {
    messages.append({kind, caption, text});
}

bool ScriptedDesktop::ask(ui::Question kind, const QString& caption, const QString& text) {
    const char* const kinds[] = {"confirm|", "plain|", "replace|"};
    questions.append(QLatin1String(kinds[static_cast<int>(kind)]) + caption + QLatin1Char('|') +
                     text);
    return answers.isEmpty() ? answerRest : answers.takeFirst();
}

QString ScriptedDesktop::openPictureName(QWidget*, const QString& filter) {
    pictureFilter = filter;
    return pictureName;
}

QString ScriptedDesktop::saveFileName(QWidget*, const QString& title, const QString& filter) {
    saveTitle = title;
    saveFilter = filter;
    return std::exchange(saveName, QString());
}

bool ScriptedDesktop::choosePrinter(QWidget*, QPrinter& printer) {
    return printerChoice ? printerChoice(printer) : false;
}

void ScriptedDesktop::openDocument(const QString& path, const QString& workingFolder,
                                   const std::function<void(const QString&)>& cannotOpen) {
    opened.append(path);
    openedFolder = workingFolder;
    if (!openFailure.isEmpty()) {
        cannotOpen(openFailure);
    }
}

QStringList ScriptedDesktop::texts() const {
    QStringList all;
    for (const Message& m : messages) {
        all.append(m.text);
    }
    return all;
}

QList<QWidget*> controls(const QWidget& window, std::initializer_list<const char*> names) {
    QList<QWidget*> found;
    for (const char* name : names) {
        found.append(control<QWidget>(window, name));
    }
    return found;
}

ProgramFolder::ProgramFolder(const QString& folder) {
    if (!folder.isEmpty()) {
        store::forgetConnections();
        store::setProgramFolder(folder);
    }
}

void Windows::show() {
    main.show();
    QApplication::setActiveWindow(&main);
    (void)QTest::qWaitForWindowExposed(&main);
}

QStringList Windows::gridColumn(int column) const {
    QStringList values;
    const QAbstractItemModel* model = control<QTableView>(main, "DBGrid1")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        values.append(model->index(row, column).data().toString());
    }
    return values;
}

namespace {
int& pendingModalChecks() {
    static int pending = 0;
    return pending;
}
}  // namespace

Session::~Session() {
    if (std::exchange(pendingModalChecks(), 0) != 0) {
        QTest::qFail("a dialog the test waited for never opened", __FILE__, __LINE__);
    }
}

void whileModal(QDialog& dialog, std::function<void()> check) {
    ++pendingModalChecks();
    QTimer::singleShot(0, &dialog, [&dialog, check] {
        --pendingModalChecks();
        QVERIFY(dialog.isVisible());
        check();
        if (dialog.isVisible()) {
            dialog.done(QDialog::Rejected);
        }
    });
}
