#include "testprinter_process.h"

#include <QFile>

TestprinterProcess::TestprinterProcess(const QString& program, const QString& outFile)
    : out_(outFile) {
    const QString listening = QStringLiteral("listening: ");
    auto found = process_.start(program, {"--out", outFile, "--port", "0"}, {listening});
    address_ = found[listening];
    error_ = process_.error();
}

QByteArray TestprinterProcess::received() const {
    QFile f(out_);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
