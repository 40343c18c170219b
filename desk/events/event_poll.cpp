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

void pollevents(const TCompanyProfile& profile, TEventList& eventlist, const PollSteps& steps) {
    eventlist.clear();
    const OutputMode mode = outputmode(profile.output);
    if (!mode.delivers()) {
        if (steps.reread) steps.reread();
        return;
    }
    if (!steps.fetch(eventlist)) {
        eventlist.clear();
        return;
    }
    for (const TGuestCall& call : std::as_const(eventlist)) {
        if (call.qr.isEmpty()) continue;
        const QString text = optiontext(profile, call.option);
        if (mode.alert) steps.alert(alerttext(profile, call.qr, text), profile.alertcaption);
        if (!mode.ticket) continue;
        try {
            steps.ticket(call.qr, text);
        } catch (const std::exception& e) {
            steps.error(QString::fromUtf8(e.what()));
        }
    }
    eventlist.clear();
}
