#include "qt_test_app.h"

#include <QApplication>

#include <memory>

QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "tpgdesk-tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto a = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("TablePing"));
        return a;
    }();
    return *app;
}
