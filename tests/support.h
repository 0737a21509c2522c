#pragma once

// The tests' fixture with the windows: the fake desktop, the program's windows and a session
// of them; tests/fixture.h is its widget-free part.
#include <QObject>
#include <QPrinter>
#include <functional>
#include <initializer_list>

#include "forms/datepicker.h"
#include "forms/windows.h"
#include "tests/fixture.h"
#include "ui/desktop.h"

// The program's desktop for tests, the benchmark and the crash harness: answers its questions
// as scripted and remembers what it was told.
class ScriptedDesktop : public ui::Desktop {
public:
    struct Message {
        ui::MessageKind kind;
        QString caption;
        QString text;
    };

    ScriptedDesktop();
    ~ScriptedDesktop() override;

    void message(ui::MessageKind kind, const QString& caption, const QString& text) override;
    bool ask(ui::Question kind, const QString& caption, const QString& text) override;
    QString openPictureName(QWidget* parent, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void openDocument(const QString& path, const QString& workingFolder,
                      const std::function<void(const QString&)>& cannotOpen) override;

    QList<Message> messages;
    QStringList questions;
    QList<bool> answers;  // taken in order; then answerRest
    bool answerRest = false;
    QString pictureName;
    QString pictureFilter;
    QString saveName;  // the answer of the next save dialog only
    QString saveTitle;
    QString saveFilter;
    std::function<bool(QPrinter&)> printerChoice;
    QStringList opened;
    QString openFailure;  // when set, nothing opens a document, for this reason
    QString openedFolder;

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QStringList texts() const;
};

// A window's control by its object name (the name Designer gives it), as its class; stops the
// run when the window has no such control of that class.
template <typename Control>
Control* control(const QWidget& window, const char* name) {
    Control* found = nullptr;
    for (Control* candidate : window.findChildren<Control*>(QString::fromLatin1(name))) {
        if (candidate->window() == &window) {
            if (found != nullptr) {
                qFatal("%s has two controls named %s", qPrintable(window.objectName()), name);
            }
            found = candidate;
        }
    }
    if (found == nullptr) {
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               Control::staticMetaObject.className(), name);
    }
    return found;
}

// The controls of those names, in that order (a focus walk's stops).
QList<QWidget*> controls(const QWidget& window, std::initializer_list<const char*> names);

// Points the program at a folder before its windows open (none: as it is).
struct ProgramFolder {
    explicit ProgramFolder(const QString& folder);
};

// The program's windows, made as the program makes them.
struct Windows : private ProgramFolder, forms::Windows {
    // The windows of the program as it is pointed now (a test's TestFolder).
    Windows() : ProgramFolder({}) {}
    // The windows of the program whose folder holds a base made beforehand.
    explicit Windows(const QString& programFolder) : ProgramFolder(programFolder) {}
    // Shows the main window (which opens the dish list) and waits until it is up.
    void show();
    // The names in the dish grid, top to bottom.
    QStringList gridColumn(int column) const;
};

// One run of the program for a test: its own folder and base, scripted answers, and the
// windows (not yet shown, so a test can fill the base first). Tests name the parts with
// "auto& [folder, answers, w] = session;".
struct Session {
    explicit Session(bool withBase = true, const QString& folderName = {})
        : folder(withBase, folderName) {}
    // A session whose base holds the menu, its windows shown.
    explicit Session(const QList<Dish>& menu) : Session() {
        addMenu(folder, menu);
        w.show();
    }
    // Fails the test when a dialog it waited for with whileModal never opened.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    TestFolder folder;
    ScriptedDesktop answers;
    Windows w;
};

// Runs check while the next modal dialog is open; closes the dialog if check leaves it open.
// The session fails the test if the dialog never opened, so a check cannot pass unseen.
void whileModal(QDialog& dialog, std::function<void()> check);
