// The guest calls the web service hands out: one answer line per call, QR
// number "|" option number; each pending call is handed out once.
#pragma once

#include <QList>
#include <QString>

class WebClient;

// One guest call: the QR (table) number and the option the guest chose, as
// the service sent them.
struct TGuestCall {
    QString qr;
    QString option;
    bool operator==(const TGuestCall&) const = default;
};

// The calls of one poll, in the answer's order.
using TEventList = QList<TGuestCall>;

// Appends a call for every answer line with at least two "|" fields, in the
// answer's order; further fields are ignored. Fields follow the answers'
// quoting rule, so a quoted QR number may hold a "|". Returns how many were
// added.
int appendevents(const QString& answer, TEventList& eventlist);

// GET "/read_events.php" for the company into `eventlist`. True when at least
// one event was added; a failed request is swallowed and answers false.
bool citajevent(WebClient& web, const QString& id, TEventList& eventlist);

// GET "/clear_events.php": the service drops the company's pending calls. The
// answer is ignored; a failed request throws WebClientError.
void clearevent(WebClient& web, const QString& id);
