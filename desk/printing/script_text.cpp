#include "printing/script_text.h"

#include <QList>

QString scripttext(const QString& text) {
    const QString composed = text.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size() + 8);
    for (const QChar c : composed) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\0':
            out += u"\\0";
            break;
        default:
            out += c;
        }
    }
    return out;
}

qsizetype scripttextbytes(const QString& text) {
    // Each code point becomes one byte: ASCII as itself, anything else as its
    // code-page token; escapes stand for one byte each.
    return text.normalized(QString::NormalizationForm_C).toUcs4().size();
}
