// The settings form's initial texts: what the form shows before a profile or
// a language fills it. The registration checks refuse the two placeholders,
// and the languages replace the nine defaults only while a field still shows
// its initial text, so all of them are compared against, and live here once.
#pragma once

#include <QString>

inline const QString kIdPlaceholder = QStringLiteral("9999999999");
inline const QString kEmailPlaceholder = QStringLiteral("your.name@example.com");

// The fields with a language default, in the order of the language table's
// rows (name, T1 to T4, options 1 to 4).
inline const QString kInitialName = QStringLiteral("My company name");
inline const QString kInitialT1 = QStringLiteral("Call the service if you are waiting a too long");
inline const QString kInitialT2 = QStringLiteral("or ask to pay the bill. Our MENU offer");
inline const QString kInitialT3 = QStringLiteral("Thank you for not abusing the offer.");
inline const QString kInitialT4 = QStringLiteral("Thank you and WELCOME");
inline const QString kInitialO1 =
    QStringLiteral("CALLING the service if you have been waiting too long");
inline const QString kInitialO2 = QStringLiteral("Please PAY  in CASH - only the complete bill");
inline const QString kInitialO3 =
    QStringLiteral("Please PAY by CREDIT CARD - only the complete BILL");
inline const QString kInitialO4 = QStringLiteral("OUR MENU OFFER");
