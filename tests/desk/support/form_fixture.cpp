#include "form_fixture.h"

#include "qt_test_app.h"

#include <QUrl>

namespace {

DeskConfig configFor(const QString& base, const QString& caFile) {
    DeskConfig c;
    c.serviceBase = base;
    c.caFile = caFile;
    // The reachability check goes to the service itself, not to port 21.
    c.internetCheckPort = QUrl(base).port(443);
    c.connectTimeoutMs = 5000;
    c.requestTimeoutMs = 10000;
    return c;
}

} // namespace

FormUnderTest::FormUnderTest(const QString& base, const QString& caFile)
    : store((qtTestApp(), dir.filePath(QStringLiteral("tpg.conf")))) {
    form = std::make_unique<TForm1>(configFor(base, caFile), messages, store);
    form->setEndApplication([this] { ++endCalls; });
}
