// Whether the web service's host answers at all: a TCP connection to a port
// of it, bounded in time so that a silent network cannot hang start-up.
#pragma once

#include <QString>

// True when a TCP connection to host:port could be made within timeoutMs; the
// connection is closed again at once. Every failure answers false.
bool isreachable(const QString& host, int port, int timeoutMs);
