#include "charset.h"

#include <QList>
#include <QStringDecoder>

#include <iconv.h>

#include <memory>

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Character sets this Qt does not know go through the C library's converter:
// without ICU that is windows-1250, ISO-8859-2 and the like, with ICU the
// rarer ones such as TCVN5712-1.
bool decodeWithIconv(const QByteArray& body, const QByteArray& charset, QString& out) {
    iconv_t raw = iconv_open("UTF-8", charset.constData());
    if (raw == iconv_t(-1)) return false;
    std::unique_ptr<void, IconvCloser> cd(raw);
    QByteArray in = body;
    QByteArray result;
    char* src = in.data();
    size_t left = size_t(in.size());
    char buf[4096];
    while (left > 0) {
        char* dst = buf;
        size_t room = sizeof buf;
        const size_t rc = iconv(raw, &src, &left, &dst, &room);
        result.append(buf, qsizetype(dst - buf));
        if (rc == size_t(-1) && errno != E2BIG) {
            // Bad or cut-off byte: keep a replacement and go on.
            result.append("\xEF\xBF\xBD");
            ++src;
            --left;
        }
    }
    // Some converters hold the last character back to see whether a combining
    // mark follows (windows-1258, for one): the flush gives it out.
    char* dst = buf;
    size_t room = sizeof buf;
    if (iconv(raw, nullptr, nullptr, &dst, &room) != size_t(-1))
        result.append(buf, qsizetype(dst - buf));
    out = QString::fromUtf8(result);
    return true;
}

} // namespace

QByteArray charsetOf(const QByteArray& contentType) {
    const QList<QByteArray> parts = contentType.split(';');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray p = parts[i].trimmed();
        const qsizetype eq = p.indexOf('=');
        if (eq < 0 || p.left(eq).trimmed().toLower() != "charset") continue;
        QByteArray v = p.mid(eq + 1).trimmed();
        if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"')) v = v.mid(1, v.size() - 2);
        return v;
    }
    return {};
}

QString decodeBody(const QByteArray& body, const QByteArray& contentType) {
    const QByteArray charset = charsetOf(contentType);
    if (!charset.isEmpty()) {
        // Stateless: the body is the whole answer, so a character cut off at
        // its end is shown as a replacement rather than silently dropped.
        QStringDecoder decoder(charset.constData(), QStringDecoder::Flag::Stateless);
        if (decoder.isValid()) return decoder.decode(body);
        QString out;
        if (decodeWithIconv(body, charset, out)) return out;
    }
    return QString::fromUtf8(body);
}
