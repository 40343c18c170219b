#include "testprinter_process.h"

#include <QFile>

namespace {
const QString kListening = QStringLiteral("listening: ");
}

TestprinterProcess::TestprinterProcess(const QString& program, const QString& outFile)
    : program_(program), out_(outFile) {
    auto found = process_.start(program, {"--out", outFile, "--port", "0"}, {kListening});
    address_ = found[kListening];
    error_ = process_.error();
    on_ = !address_.isEmpty();
}

QByteArray TestprinterProcess::received() const {
    QFile f(out_);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestprinterProcess::switchoff() {
    process_.stop();
    on_ = false;
}

bool TestprinterProcess::switchon() {
    if (on_) return true;
    const QString port = address_.mid(address_.lastIndexOf(u':') + 1);
    auto found = process_.start(program_, {"--out", out_, "--port", port}, {kListening});
    error_ = process_.error();
    on_ = found[kListening] == address_;
    return on_;
}
