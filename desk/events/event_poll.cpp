#include "event_poll.h"

#include <exception>

OutputMode outputmode(const QString& output) {
    if (output == QLatin1String("1")) return {true, false};
    if (output == QLatin1String("2")) return {true, true};
    if (output == QLatin1String("3")) return {false, true};
    return {};
}

QString optiontext(const TCompanyProfile& p, const QString& option) {
    const QString* texts[] = {&p.text1, &p.text2, &p.text3, &p.text4, &p.text5, &p.text6};
    for (int i = 0; i < 6; ++i)
        if (option == QString::number(i + 1)) return *texts[i];
    return QLatin1Char('?') + option;
}

QString alerttext(const TCompanyProfile& profile, const QString& qrNumber,
                  const QString& optionText) {
    return profile.alertprefix + qrNumber + QStringLiteral("      ") + optionText;
}

void pollevents(const TCompanyProfile& profile, QStringList& eventlist, const PollSteps& steps) {
    eventlist.clear();
    if (!steps.fetch(eventlist)) {
        eventlist.clear();
        return;
    }
    const OutputMode mode = outputmode(profile.output);
    for (const QString& line : std::as_const(eventlist)) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        const QString qr = line.left(bar);
        if (qr.isEmpty()) continue;
        const QString text = optiontext(profile, line.mid(bar + 1));
        if (mode.alert) steps.alert(alerttext(profile, qr, text), profile.alertcaption);
        if (!mode.ticket) continue;
        try {
            steps.ticket(qr, text);
        } catch (const std::exception& e) {
            steps.error(QString::fromUtf8(e.what()));
        }
    }
    eventlist.clear();
}
