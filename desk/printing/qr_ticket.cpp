#include "printing/qr_ticket.h"

#include "printing/center_text.h"
#include "printing/print_error.h"
#include "printing/print_script.h"
#include "printing/script_text.h"

namespace {
// The store command's length counts the data plus its three parameter bytes
// and is written as one low byte with a high byte of 0.
constexpr qsizetype kMaxAddress = 255 - 3;

QString quoted(const QString& text) {
    return u'"' + scripttext(text) + u'"';
}
// Composed first, so that a letter typed with a separate accent takes one column.
QString line(const QString& text, int width) {
    return quoted(centertext(text.normalized(QString::NormalizationForm_C), width)) + " CR LF";
}
} // namespace

QString guestpageaddress(const QString& serviceBase, const QString& companyId,
                         const QString& qrNumber) {
    return serviceBase + QLatin1String("/options.php?id=") + companyId.trimmed() +
           QLatin1String("&qr=") + qrNumber.trimmed();
}

QStringList qrticket(const TCompanyProfile& profile, const QString& qrNumber,
                     const TPrintSettings& settings) {
    const QString address = guestpageaddress(settings.serviceBase, profile.id, qrNumber);
    const qsizetype length = scripttextbytes(address);
    if (length > kMaxAddress)
        throw TPrintError(QStringLiteral("The guest page address has %1 characters; a QR code on "
                                         "the POS printer holds at most %2: %3")
                              .arg(length)
                              .arg(kMaxAddress)
                              .arg(address));
    return {
        "ESC t 18 CR LF ",
        "ESC ! 0 CR",
        "ESC ! 48 CR",
        line(profile.name, 30),
        "ESC d 0 CR LF",
        "ESC E CR",
        "ESC ! 0 CR",
        line(profile.text1u, 45),
        line(profile.text2u, 45),
        "ESC d 0 CR LF",
        "ESC d 0 CR LF",
        "GS \"(k\"  4 0 49 65 50 0 CR GS \"(k\"  3 0 49 67  7 CR GS \"(k\"  3 0 49 69 48 CR",
        "GS \"(k\" " + QString::number(length + 3) + " 0 49 80 48 ",
        quoted(address),
        "CR LF",
        "ESC $ 170 0 CR GS \"(k\"  3 0 49 81 48 CR LF",
        "ESC d 0 CR LF",
        line(settings.footer, 45),
        "ESC d 0 CR LF",
        "\"\" CR LF",
        "ESC ! 48 CR",
        quoted("          QR: " + qrNumber) + " CR LF",
        "ESC d 0 CR LF",
        "ESC d 0 CR LF",
        "ESC ! 0 CR",
        "ESC E CR",
        line(profile.text1d, 45),
        line(profile.text2d, 45),
        "ESC d 3 CR LF",
        "ESC ! 0 CR",
        "ESC 105 CR LF",
    };
}

void printqr(const TCompanyProfile& profile, const QString& qrNumber,
             const TPrintSettings& settings) {
    printscript(qrticket(profile, qrNumber, settings), profile.ip, qrNumber, settings);
}
