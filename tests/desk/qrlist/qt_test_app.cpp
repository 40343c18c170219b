#include "qt_test_app.h"

#include <QApplication>

QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "qrlist_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication instance(argc, argv);
        return &instance;
    }();
    return *app;
}
