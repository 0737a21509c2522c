#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace ui {

enum class MessageKind { Information, Warning, Error };

// Everything the program asks of the person at the desktop crosses this interface: message
// boxes, file and print dialogs, and the desktop's "open" action. The program installs the
// real one; tests install their own answers.
class Delegate {
public:
    virtual ~Delegate() = default;

    virtual void message(MessageKind kind, const QString& caption, const QString& text) = 0;
    // The confirmation box ("Confirm", question icon, Yes/No) or, with plain set, a Yes/No box
    // with its own caption and no icon.
    virtual bool ask(const QString& caption, const QString& text, bool plain) = 0;
    // An existing or new file name, or empty when the user cancels.
    virtual QString openPictureName(QWidget* parent, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // Lets the user choose the printer and its options; false when cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void openDocument(const QString& path, const QString& workingFolder) = 0;
};

Delegate& delegate();
// Installs another delegate (tests); nullptr puts the desktop's back.
void setDelegate(Delegate* replacement);

}  // namespace ui
