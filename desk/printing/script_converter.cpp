#include "printing/script_converter.h"

#include "printing/code_page_852.h"
#include "printing/print_error.h"

#include <QFile>
#include <QList>
#include <QStringConverter>
#include <QTextStream>

namespace {
constexpr int kQuestionMark = 63;
constexpr int kUntouchedLines = 2; // the code-page selection and the print mode reset

void writeline(QFile& file, const QString& line) {
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (file.write(bytes) != bytes.size())
        throw TPrintError(QStringLiteral("Cannot write the printer script %1: %2")
                              .arg(file.fileName(), file.errorString()));
}
} // namespace

QString convertscriptline(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (const char32_t c : line.toUcs4()) {
        if (c < 128) {
            out += QChar(static_cast<char16_t>(c));
            continue;
        }
        int code = codepage852(c);
        if (code < 0) code = kQuestionMark;
        out += u'"' + QString::number(code) + u'"';
    }
    return out;
}

void convertscript(const QString& rawPath, const QString& finalPath) {
    QFile raw(rawPath);
    if (!raw.open(QIODevice::ReadOnly))
        throw TPrintError(QStringLiteral("Cannot read the printer script %1: %2")
                              .arg(rawPath, raw.errorString()));
    QFile out(finalPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw TPrintError(QStringLiteral("Cannot create the printer script %1: %2")
                              .arg(finalPath, out.errorString()));

    QTextStream in(&raw);
    in.setEncoding(QStringConverter::Utf8);
    for (int number = 1; !in.atEnd(); ++number) {
        const QString line = in.readLine();
        writeline(out, number <= kUntouchedLines ? line : convertscriptline(line));
    }
    if (in.status() != QTextStream::Ok || raw.error() != QFileDevice::NoError)
        throw TPrintError(QStringLiteral("Cannot read the printer script %1: %2")
                              .arg(rawPath, raw.errorString()));
    if (!out.flush())
        throw TPrintError(QStringLiteral("Cannot write the printer script %1: %2")
                              .arg(finalPath, out.errorString()));
    out.close();
    if (out.error() != QFileDevice::NoError)
        throw TPrintError(QStringLiteral("Cannot write the printer script %1: %2")
                              .arg(finalPath, out.errorString()));
}
