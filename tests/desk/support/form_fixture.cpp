#include "form_fixture.h"

#include "qt_test_app.h"

namespace {

DeskConfig configFor(const QString& base, const QString& caFile) {
    DeskConfig c;
    c.serviceBase = base;
    c.caFile = caFile;
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
