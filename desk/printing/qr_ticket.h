// The QR ticket: company name, the texts above and below the code, and the QR
// symbol drawn by the printer from the guest page address.
#pragma once

#include "printing/print_settings.h"
#include "profile/company_profile.h"

#include <QString>
#include <QStringList>

// The guest page of this company and table: what the QR code holds.
QString guestpageaddress(const QString& serviceBase, const QString& companyId,
                         const QString& qrNumber);

// The ticket's raw script, one entry per line. Throws TPrintError when the
// guest page address is too long for the QR store command's length byte.
QStringList qrticket(const TCompanyProfile& profile, const QString& qrNumber,
                     const TPrintSettings& settings);

// Prints the ticket for QR number `qrNumber` (as typed) on the profile's
// printer. Throws TPrintError (see printscript).
void printqr(const TCompanyProfile& profile, const QString& qrNumber,
             const TPrintSettings& settings);
