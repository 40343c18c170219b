// The character set of an answer: the input's first line is the
// Content-Type value, the rest the body. Any declared name (known to Qt, to
// the C library's converter, or to neither) must decode without reading past
// the body and in bounded time; the name taken must be part of the value
// with no ";" in it; and UTF-8, declared or not, must decode as UTF-8.
#include "charset.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const auto* eol = static_cast<const char*>(memchr(text, '\n', size));
    const qsizetype typeLength = eol ? qsizetype(eol - text) : qsizetype(size);
    const QByteArray contentType(text, typeLength);
    const QByteArray body =
        eol ? QByteArray(eol + 1, qsizetype(size) - typeLength - 1) : QByteArray();

    const QByteArray charset = charsetOf(contentType);
    check(contentType.contains(charset));
    check(!charset.contains(';'));

    const QString decoded = decodeBody(body, contentType);
    check(decoded.size() <= 4 * body.size() + 4);
    const QByteArray lower = charset.toLower();
    if (charset.isEmpty() || lower == "utf-8" || lower == "utf8")
        check(decoded == QString::fromUtf8(body));
    return 0;
}
