// The guest calls the web service hands out: one answer line per call, QR
// number "|" option number; each pending call is handed out once.
#pragma once

#include <QString>
#include <QStringList>

class WebClient;

// Appends "QR|option" for every answer line with at least two "|" fields, in
// the answer's order; further fields are ignored. Returns how many were added.
int appendevents(const QString& answer, QStringList& eventlist);

// GET "/read_events.php" for the company into `eventlist`. True when at least
// one event was added; a failed request is swallowed and answers false.
bool citajevent(WebClient& web, const QString& id, QStringList& eventlist);

// GET "/clear_events.php": the service drops the company's pending calls. The
// answer is ignored; a failed request throws WebClientError.
void clearevent(WebClient& web, const QString& id);
