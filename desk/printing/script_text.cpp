#include "printing/script_text.h"

#include <QList>

QString scripttext(const QString& text) {
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size() + 8);
    for (const QChar c : composed) {
        const char16_t u = c.unicode();
        // Control characters would reach the printer as commands: a service
        // text such as 12<ESC>i would cut the paper in the middle of a ticket.
        if (u < 0x20 || u == 0x7F) {
            out += u'?';
            continue;
        }
        if (u == u'"' || u == u'\\') out += u'\\';
        out += c;
    }
    return out;
}

qsizetype scripttextbytes(const QString& text) {
    // Each code point becomes one byte: ASCII as itself, anything else as its
    // code-page token; escapes stand for one byte each.
    return text.normalized(QString::NormalizationForm_C).toUcs4().size();
}
