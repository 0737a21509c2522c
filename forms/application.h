#pragma once

#include <QApplication>

// The application object. Commands catch their own errors at their boundary; this is only
// the last net for anything that escapes an event handler all the same.
namespace forms {

class OrvelinApplication : public QApplication {
public:
    OrvelinApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace forms
