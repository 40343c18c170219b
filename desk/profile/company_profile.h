// The company profile as the web service keeps it: every field is a text, empty
// until set. Field names are the web service's keys.
#pragma once

#include <QString>

struct TCompanyProfile {
    QString id; // company ID from the settings store, never from the service's answer
    QString date_created;
    QString name;
    QString lang;
    QString ip; // printer target handed to prnfeed
    QString text1u, text2u, text1d, text2d;
    QString size1, size2, size3, size4, size5;
    QString qrcolor;
    QString text1, text2, text3, text4, text5, text6;
    QString text4www, text5www, text6www;
    QString textwww; // statistics password
    QString email;
    QString output;      // output mode "1", "2" or "3": alert window and/or ticket
    QString specialsql;  // local WiFi filter (IPv4 prefix)
    QString specialpath; // QR number list as typed
    // Alert texts of the profile's language
    QString alertprefix;
    QString alertcaption;
};
