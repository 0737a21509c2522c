#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace ui {

enum class MessageKind { Information, Warning, Error };

enum class Question {
    Confirm,  // "Confirm", question icon, Yes/No; Esc answers No
    Plain,    // a Yes/No box with its own caption and no icon
    Replace,  // may an existing file be replaced? warning icon, No unless the user says Yes
};

// Everything the program asks of the person at the desktop crosses this interface: message
// boxes, file and print dialogs, and the desktop's "open" action. The program installs the
// real one; tests install their own answers.
class Desktop {
public:
    virtual ~Desktop() = default;

    virtual void message(MessageKind kind, const QString& caption, const QString& text) = 0;
    virtual bool ask(Question kind, const QString& caption, const QString& text) = 0;
    // An existing or new file name, or empty when the user cancels.
    virtual QString openPictureName(QWidget* parent, const QString& filter) = 0;
    // A name to save under, or empty when the user cancels. The dialog itself asks nothing
    // about existing files: the caller asks about the file it will really write.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Lets the user choose the printer, the number of copies and collation; false when
    // cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    // Opens a document with the desktop's application for its kind. Whether one takes it is
    // known only when xdg-open ends, which may be after the command: cannotOpen is then called
    // from the event loop with the reason, in xdg-open's own words where it gave any.
    virtual void openDocument(const QString& path, const QString& workingFolder,
                              const std::function<void(const QString& reason)>& cannotOpen) = 0;
};

Desktop& desktop();
// Installs another desktop (tests); nullptr puts the real one back.
void setDesktop(Desktop* replacement);

// The standard dialogs of the toolkit remember folders and sizes in a settings file of
// their own. The program keeps no state between runs, so that file is kept in a temporary
// folder that goes when the program ends. Called once, before any dialog is made.
void keepDialogSettingsForThisRunOnly();

}  // namespace ui
