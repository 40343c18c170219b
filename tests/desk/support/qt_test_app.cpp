#include "qt_test_app.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Qt's per-thread caches (fonts among them) live in global statics made after
// the application; the application must go before them, that is before main()
// returns, or what it owns in them is never freed.
class QtAppEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { app.reset(); }
    std::unique_ptr<QApplication> app;
};

} // namespace

QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "tpgdesk-tests";
    static char* argv[] = {name, nullptr};
    static QtAppEnvironment* environment = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* env = new QtAppEnvironment; // gtest owns and deletes it
        env->app = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationName(QStringLiteral("TablePing"));
        ::testing::AddGlobalTestEnvironment(env);
        return env;
    }();
    return *environment->app;
}
