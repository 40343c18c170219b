// What the settings form's QR buttons do: the preview image, generating the
// images of a QR number list, and the A4 sheet. The form keeps its fields and
// its profile writes; these functions get what they need as parameters so that
// they run the same on screen and in headless tests.
#pragma once

#include "company_profile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class BrowserOpener;
class DeskMessages;
class WebClient;

// Texts of the size selectors cb1, Cb2, Cb3, cb4, cb5 as they stand on the form.
struct QrSizeSelectors {
    QString cb1, Cb2, Cb3, cb4, cb5;
};

// "Show my QR pic.": asks for image 1 with the sizes on the form and the saved
// colour, then opens it in the browser. A failed request shows the standard
// error message box and opens nothing.
void SpeedButton1Click(const TCompanyProfile& profile, const QrSizeSelectors& selectors,
                       WebClient& web, DeskMessages& messages, BrowserOpener& browser);

// What "1.SET your QR numbers for create" needs from the form. All but
// progress are required.
struct QrListSteps {
    // The QR number dialog (askqrnumbers); it leaves the typed text in the
    // profile's specialpath. Nothing means cancelled.
    std::function<std::optional<QStringList>()> askNumbers;
    // Writes the list text to the service (zapisstoly); shows its own message
    // on failure, after which the action goes on.
    std::function<bool(const QString& id, const QString& list)> saveList;
    // Shows the list text in "My QR codes" (LabeledEdit4).
    std::function<void(const QString& list)> showList;
    // Writes the whole profile (registrujdodatabazy); shows its own message on
    // failure.
    std::function<bool()> saveProfile;
    // Progress while images are requested: "Generating 3 of 120", then an
    // empty text when done. On screen it also lets the user cancel. Optional.
    std::function<void(const QString& text)> progress;
    // Asked after each progress report: true stops the generation before the
    // next image. Optional.
    std::function<bool()> cancelled;
};

enum class QrListOutcome {
    Cancelled,     // the dialog was closed without a list
    RequestFailed, // a "/genqr.php" request failed; its error was shown
    Saved,         // images requested and the profile written
    SaveFailed,    // images requested, the profile write failed and was reported
    Stopped,       // the user cancelled while the images were requested; the profile is not written
};

// "1.SET your QR numbers for create". Before each image the progress is
// reported and the generation stops there when it has been cancelled (a
// message says how far it got).
QrListOutcome Button2Click(TCompanyProfile& profile, WebClient& web, DeskMessages& messages,
                           const QrListSteps& steps);

// "2. Generate PNG & PDF A4 QR codes": the service's A4 sheet in the browser.
void btlacClick(const TCompanyProfile& profile, const QString& base, BrowserOpener& browser);
