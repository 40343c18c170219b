// The web service draws the QR images; the desk only asks it to, one
// "/genqr.php" request per table number, and tells the browser where they are.
#pragma once

#include "company_profile.h"
#include "web_client.h"

#include <QUrl>

// Colour and text sizes of an image, each "1", "2" or "3".
struct QrImageLook {
    QString color;
    QString namesize, text1usize, text2usize, text1dsize, text2dsize;

    // The look saved in the profile (qrcolor, size1 ... size5).
    static QrImageLook fromProfile(const TCompanyProfile& profile);
};

// id, qr, color, namesize, text1usize, text2usize, text1dsize, text2dsize.
WebParams qrImageParams(const QString& id, const QString& number, const QrImageLook& look);

// Asks for one image; the answer carries nothing the desk needs. Throws
// WebClientError.
void requestQrImage(WebClient& web, const QString& id, const QString& number,
                    const QrImageLook& look);

// Browser addresses below the service base. The company ID is percent-encoded,
// so that an ID with "&", "/" or blanks still names the right company.
QUrl previewImageAddress(const QString& base, const QString& id);
QUrl a4SheetAddress(const QString& base, const QString& id);
// Shown to the user as text, not opened.
QString statisticsAddress(const QString& base);
