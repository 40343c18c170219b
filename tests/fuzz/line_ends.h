// The same text with each kind of line end, for targets whose answer must
// read the same whichever the service sent.
#pragma once

#include <QString>

namespace fuzz {

// The text with every CR removed and each LF then written as `lineEnd`.
inline QString withLineEnds(const QString& text, const QString& lineEnd) {
    QString out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        if (c == QLatin1Char('\r')) continue;
        if (c == QLatin1Char('\n'))
            out += lineEnd;
        else
            out += c;
    }
    return out;
}

} // namespace fuzz
