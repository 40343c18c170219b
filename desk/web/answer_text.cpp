#include "answer_text.h"

QStringList splitAnswerLines(const QString& body) {
    QStringList lines;
    QString current;
    bool pending = false; // text since the last line end
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar ch = body[i];
        if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < body.size() && body[i + 1] == QLatin1Char('\n'))
                ++i;
            lines << current;
            current.clear();
            pending = false;
        } else {
            current += ch;
            pending = true;
        }
    }
    if (pending) lines << current;
    return lines;
}

QStringList splitAnswerFields(const QString& line) {
    QStringList fields;
    if (line.isEmpty()) return fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        QString field;
        if (i < n && line[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (line[i] == QLatin1Char('"')) {
                    if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            // Text after the closing quote belongs to the same field.
            while (i < n && line[i] != QLatin1Char('|'))
                field += line[i++];
        } else {
            while (i < n && line[i] != QLatin1Char('|'))
                field += line[i++];
        }
        fields << field;
        if (i >= n) break;
        ++i; // the "|"
    }
    return fields;
}
