// The guest-call ticket: which table called, when, and which option the
// guest chose.
#pragma once

#include "printing/print_settings.h"
#include "profile/company_profile.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

// The time stamp printed on the ticket: the short date, a blank and the long
// time of the locale; at exactly midnight only the date.
QString ticketstamp(const QDateTime& when, const QLocale& locale);

// The ticket's raw script, one entry per line.
QStringList callticket(const QString& qrNumber, const QString& optionText, const QString& stamp,
                       const QString& footer);

// Prints the ticket for one guest call on the profile's printer, stamped with
// the current local time. Throws TPrintError (see printscript).
void printcall(const TCompanyProfile& profile, const QString& qrNumber, const QString& optionText,
               const TPrintSettings& settings);
