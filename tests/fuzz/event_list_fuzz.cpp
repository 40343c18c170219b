// The event list: one call per line with at least two "|" fields. LF, CR LF
// and CR line ends must give the same calls; calls are appended after those
// already in the list, which stay; no QR or option number holds a line
// break; and the count returned is what was appended.
#include "event_list.h"
#include "line_ends.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

TEventList read(const QString& answer) {
    const TGuestCall earlier{QStringLiteral("9"), QStringLiteral("1")};
    TEventList list{earlier};
    const int added = appendevents(answer, list);
    check(added >= 0 && list.size() == added + 1);
    check(list.first() == earlier);
    list.removeFirst();
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString answer = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TEventList lf = read(fuzz::withLineEnds(answer, QStringLiteral("\n")));
    for (const TGuestCall& call : lf) {
        for (const QString* f : {&call.qr, &call.option})
            check(!f->contains(QLatin1Char('\n')) && !f->contains(QLatin1Char('\r')));
    }
    // Every call takes a line of its own.
    check(lf.size() <= answer.count(QLatin1Char('\n')) + answer.count(QLatin1Char('\r')) + 1);
    check(read(fuzz::withLineEnds(answer, QStringLiteral("\r\n"))) == lf);
    check(read(fuzz::withLineEnds(answer, QStringLiteral("\r"))) == lf);
    read(answer);
    return 0;
}
