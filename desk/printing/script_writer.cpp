#include "printing/script_writer.h"

#include "printing/print_error.h"

TScriptWriter::TScriptWriter(const QString& path) : file_(path) {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw TPrintError(QStringLiteral("Cannot create the printer script %1: %2")
                              .arg(path, file_.errorString()));
}

void TScriptWriter::writeline(const QString& text) {
    const QByteArray bytes = text.toUtf8() + "\r\n";
    if (file_.write(bytes) != bytes.size()) fail();
}

void TScriptWriter::close() {
    if (!file_.flush()) fail();
    file_.close();
    if (file_.error() != QFileDevice::NoError) fail();
}

void TScriptWriter::fail() {
    throw TPrintError(QStringLiteral("Cannot write the printer script %1: %2")
                          .arg(file_.fileName(), file_.errorString()));
}
