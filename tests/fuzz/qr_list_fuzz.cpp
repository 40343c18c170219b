// The QR number list as typed. A list that parses gives distinct decimal
// numbers, at most the list limit, in the order the service has always
// seen, and shows no message; one that does not shows exactly one message
// and leaves the earlier list alone. A range is checked before it is walked,
// so time stays bounded however large the numbers.
#include "messages.h"
#include "qr_list_parser.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList earlier{QStringLiteral("1"), QStringLiteral("2")};
    QStringList result = earlier;
    RecordingDeskMessages messages;
    const bool ok = parseqrlist(text, result, messages);
    if (!ok) {
        check(messages.entries().size() == 1);
        check(result == earlier);
        return 0;
    }
    check(messages.entries().empty());
    check(result.size() <= kMaxQrNumbersPerList);
    check(text.isEmpty() == result.isEmpty());
    // Texts in canonical form and strictly increasing are distinct numbers.
    for (qsizetype i = 0; i < result.size(); ++i) {
        bool isNumber = false;
        const int n = result[i].toInt(&isNumber, 10);
        check(isNumber && QString::number(n) == result[i]);
        if (i > 0) check(QString::compare(result[i - 1], result[i]) < 0);
    }
    return 0;
}
