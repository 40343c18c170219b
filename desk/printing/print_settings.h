// What ticket printing needs from the desk configuration. The desk fills it
// from its own settings; printing never reads configuration itself.
#pragma once

#include <QString>

struct TPrintSettings {
    QString scriptFolder; // where the per-print script files are written; created on demand
    QString sendToolPath; // prnfeed, started with the final script and the printer target
    QString serviceBase;  // web service origin, the start of the guest page address in QR codes
    QString footer;       // the service's web address in capitals, printed under every ticket
};
