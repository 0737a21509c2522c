#include "forms/application.h"
#include "forms/windows.h"

int main(int argc, char** argv) {
    forms::OrvelinApplication app(argc, argv);
    // The windows are made once and live until the program ends.
    forms::Windows windows;
    windows.main.show();
    return app.exec();
}
