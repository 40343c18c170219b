#include "qr_form_actions.h"

#include "browser_opener.h"
#include "messages.h"
#include "qr_image_request.h"
#include "web_client.h"

namespace {

void report(const QrListSteps& steps, const QString& text) {
    if (steps.progress) steps.progress(text);
}

bool cancelled(const QrListSteps& steps) {
    return steps.cancelled && steps.cancelled();
}

} // namespace

void SpeedButton1Click(const TCompanyProfile& profile, const QrSizeSelectors& selectors,
                       WebClient& web, DeskMessages& messages, BrowserOpener& browser) {
    const QrImageLook look{profile.qrcolor,         selectors.cb1.trimmed(),
                           selectors.Cb2.trimmed(), selectors.Cb3.trimmed(),
                           selectors.cb4.trimmed(), selectors.cb5.trimmed()};
    try {
        requestQrImage(web, profile.id, QStringLiteral("1"), look);
    } catch (const WebClientError& e) {
        messages.showError(e.text());
        return;
    }
    browser.open(previewImageAddress(web.baseUrl(), profile.id));
}

QrListOutcome Button2Click(TCompanyProfile& profile, WebClient& web, DeskMessages& messages,
                           const QrListSteps& steps) {
    const std::optional<QStringList> numbers = steps.askNumbers();
    if (!numbers) {
        messages.showMessage(QStringLiteral("Input was canceled."));
        return QrListOutcome::Cancelled;
    }

    const QString list = profile.specialpath;
    steps.saveList(profile.id, list);
    steps.showList(list);

    const QrImageLook look = QrImageLook::fromProfile(profile);
    const QString total = QString::number(numbers->size());
    for (qsizetype i = 0; i < numbers->size(); ++i) {
        report(steps, QStringLiteral("Generating %1 of %2").arg(i + 1).arg(total));
        if (cancelled(steps)) {
            report(steps, QString());
            messages.showMessage(QStringLiteral("QR code generation was cancelled: %1 of %2 "
                                                "images were requested.")
                                     .arg(i)
                                     .arg(total));
            return QrListOutcome::Stopped;
        }
        try {
            requestQrImage(web, profile.id, numbers->at(i), look);
        } catch (const WebClientError& e) {
            report(steps, QString());
            messages.showError(e.text());
            return QrListOutcome::RequestFailed;
        }
    }
    if (!numbers->isEmpty()) report(steps, QString());

    messages.showMessage(QStringLiteral("You QR codes was created you can found it here : ") +
                         web.baseUrl() + QStringLiteral("/") + profile.id +
                         QStringLiteral("/qrxx.png alebo použite bod.2 Generovanie A4 a PDF"));

    if (steps.saveProfile()) {
        messages.showMessage(QStringLiteral("Saved OK"));
        return QrListOutcome::Saved;
    }
    // The form stays open, as after SAVE ALL: ending the program here would
    // throw away whatever else the user has typed into the form.
    messages.messageBox(QStringLiteral("         Pozor! Neexistuje pripojenie na internet !!   "),
                        QStringLiteral("POZOR SPRÁVA"), MessageIcon::Warning);
    return QrListOutcome::SaveFailed;
}

void btlacClick(const TCompanyProfile& profile, const QString& base, BrowserOpener& browser) {
    browser.open(a4SheetAddress(base, profile.id));
}
