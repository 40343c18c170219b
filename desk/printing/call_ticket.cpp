#include "printing/call_ticket.h"

#include "printing/center_text.h"
#include "printing/print_script.h"
#include "printing/script_text.h"

namespace {
const QString kSeparator = QStringLiteral("=====================================");
constexpr int kWidth = 45;

QString quoted(const QString& text) {
    return u'"' + scripttext(text) + u'"';
}
} // namespace

QString ticketstamp(const QDateTime& when, const QLocale& locale) {
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    if (when.time().msecsSinceStartOfDay() == 0) return date;
    // Formatted from the date and time together, so that a zone in the
    // locale's long time format is the zone of `when`.
    return date + u' ' + locale.toString(when, locale.timeFormat(QLocale::LongFormat));
}

QStringList callticket(const QString& qrNumber, const QString& optionText, const QString& stamp,
                       const QString& footer) {
    const QString feed = QStringLiteral("ESC d 0 CR LF");
    return {
        "ESC t 18 CR LF ",
        "ESC ! 0 CR",
        "ESC E CR",
        quoted(centertext(kSeparator, kWidth)) + " CR LF",
        quoted("REQUEST .N. : " + qrNumber) + " CR LF",
        quoted("REQUEST TIME .N. : " + stamp) + " CR LF",
        feed,
        "ESC E CR",
        quoted(
            "Option: " + centertext(optionText.normalized(QString::NormalizationForm_C), kWidth) +
            " N.: " + qrNumber) +
            " CR LF",
        feed,
        quoted(centertext(kSeparator, kWidth)) + " CR LF",
        feed,
        quoted(centertext(footer, kWidth)) + " CR LF",
        feed,
        feed,
        feed,
        feed,
        feed,
        "ESC ! 0 CR",
        "ESC 105 CR LF",
    };
}

void printcall(const TCompanyProfile& profile, const QString& qrNumber, const QString& optionText,
               const TPrintSettings& settings) {
    const QString stamp = ticketstamp(QDateTime::currentDateTime(), QLocale::system());
    printscript(callticket(qrNumber, optionText, stamp, settings.footer), profile.ip, qrNumber,
                settings);
}
