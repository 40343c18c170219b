// The profile record: its first line, or its two lines joined, cut at "|"
// with quoted fields. LF, CR LF and CR line ends must give the same profile;
// an answer that is not taken leaves the profile as it was; the stored ID
// is never replaced; and no field of a taken record holds a line break.
#include "line_ends.h"
#include "profile_answer.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

// Every text field, in the record's order.
QStringList fieldsOf(const TCompanyProfile& p) {
    return {p.id,          p.date_created, p.name,    p.lang,       p.ip,          p.text1u,
            p.text2u,      p.text1d,       p.text2d,  p.size1,      p.size2,       p.size3,
            p.size4,       p.size5,        p.qrcolor, p.text1,      p.text2,       p.text3,
            p.text4,       p.text5,        p.text6,   p.text4www,   p.text5www,    p.text6www,
            p.textwww,     p.email,        p.output,  p.specialsql, p.specialpath, p.alertprefix,
            p.alertcaption};
}

TCompanyProfile stored() {
    TCompanyProfile p;
    p.id = QStringLiteral("4711");
    p.name = QStringLiteral("before");
    p.output = QStringLiteral("2");
    p.alertprefix = QStringLiteral("Stol ");
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString body = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList before = fieldsOf(stored());

    TCompanyProfile lf = stored();
    const bool taken = applyProfileAnswer(fuzz::withLineEnds(body, QStringLiteral("\n")), lf);
    const QStringList after = fieldsOf(lf);
    check(lf.id == QLatin1String("4711"));
    check(lf.alertprefix == QLatin1String("Stol "));
    if (!taken) check(after == before);
    for (const QString& f : after)
        check(!f.contains(QLatin1Char('\n')) && !f.contains(QLatin1Char('\r')));

    for (const QString& end : {QStringLiteral("\r\n"), QStringLiteral("\r")}) {
        TCompanyProfile other = stored();
        check(applyProfileAnswer(fuzz::withLineEnds(body, end), other) == taken);
        check(fieldsOf(other) == after);
    }

    // The raw answer as it came, with whatever mix of line ends: no crash,
    // and the same rule for an answer not taken.
    TCompanyProfile raw = stored();
    if (!applyProfileAnswer(body, raw)) check(fieldsOf(raw) == before);
    return 0;
}
