#include "qr_list_parser.h"

#include "messages.h"

#include <algorithm>
#include <optional>
#include <set>

namespace {

const QChar kQuote = QLatin1Char('"');

// Items at commas. An item that starts with a double quote runs to its closing
// quote (commas inside belong to it, a doubled quote stands for one); what
// follows the closing quote up to the next comma stays part of the item so that
// nothing typed is silently dropped.
QStringList splitItems(const QString& text) {
    QStringList items;
    qsizetype pos = 0;
    for (;;) {
        QString item;
        if (pos < text.size() && text[pos] == kQuote) {
            ++pos;
            while (pos < text.size()) {
                if (text[pos] == kQuote) {
                    if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
                        item += kQuote;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                item += text[pos++];
            }
        }
        qsizetype comma = text.indexOf(QLatin1Char(','), pos);
        item += text.mid(pos, comma < 0 ? -1 : comma - pos);
        items.append(item);
        if (comma < 0) return items;
        pos = comma + 1;
    }
}

// An optionally signed decimal whole number in the range of a 32-bit integer;
// anything else (hex forms, blanks inside, fractions) is no number here.
std::optional<int> toNumber(const QString& text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    if (i == text.size()) return std::nullopt;
    for (qsizetype k = i; k < text.size(); ++k) {
        if (text[k] < QLatin1Char('0') || text[k] > QLatin1Char('9')) return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

QString quoted(const QString& item) {
    return kQuote + item + kQuote;
}

QString tooManyMessage(const QString& item) {
    return QStringLiteral("Príliš veľa čísel: ") + quoted(item) +
           QStringLiteral(" (najviac %1 QR kódov v jednom zozname)").arg(kMaxQrNumbersPerList);
}

} // namespace

bool parseqrlist(const QString& text, QStringList& result, DeskMessages& messages) {
    // Only a text with no characters at all has no items; blanks or line
    // breaks alone make one item, an empty one.
    if (text.isEmpty()) {
        result.clear();
        return true;
    }

    std::set<int> numbers;
    const QString rangeMark = QStringLiteral("..");
    for (const QString& raw : splitItems(text)) {
        const QString item = raw.trimmed();
        if (item.isEmpty()) {
            messages.showMessage(QStringLiteral("Chyba: prázdna hodnota medzi čiarkami."));
            return false;
        }

        const qsizetype mark = item.indexOf(rangeMark);
        if (mark < 0) {
            const std::optional<int> number = toNumber(item);
            if (!number) {
                messages.showMessage(QStringLiteral("Neplatné číslo: ") + quoted(item));
                return false;
            }
            numbers.insert(*number);
        } else {
            const std::optional<int> low = toNumber(item.left(mark).trimmed());
            const std::optional<int> high = toNumber(item.mid(mark + rangeMark.size()).trimmed());
            if (!low || !high) {
                messages.showMessage(QStringLiteral("Chybný rozsah: ") + quoted(item));
                return false;
            }
            if (*high < *low) {
                messages.showMessage(QStringLiteral("Nesprávny rozsah: ") + quoted(item) +
                                     QStringLiteral(" (od > do)"));
                return false;
            }
            // Checked before the range is walked, so a huge range costs nothing.
            const long long span = static_cast<long long>(*high) - *low + 1;
            if (span > kMaxQrNumbersPerList) {
                messages.showMessage(tooManyMessage(item));
                return false;
            }
            for (long long n = *low; n <= *high; ++n)
                numbers.insert(static_cast<int>(n));
        }
        if (numbers.size() > static_cast<std::size_t>(kMaxQrNumbersPerList)) {
            messages.showMessage(tooManyMessage(item));
            return false;
        }
    }

    QStringList texts;
    texts.reserve(static_cast<qsizetype>(numbers.size()));
    for (int n : numbers)
        texts.append(QString::number(n));
    // Ordinal text order: the web service and the users have always seen 10 before 2.
    std::sort(texts.begin(), texts.end(),
              [](const QString& a, const QString& b) { return QString::compare(a, b) < 0; });
    result = texts;
    return true;
}
