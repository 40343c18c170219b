// Whether the web service's host answers at all: a TCP connection to a port
// of it, bounded in time as a whole, name resolution included, so that a
// silent network or resolver cannot hang start-up.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <functional>

// Turns a host name into its addresses; may block for as long as the
// system's resolver takes.
using HostResolver = std::function<QList<QHostAddress>(const QString& host)>;

// The system's resolver.
QList<QHostAddress> systemresolve(const QString& host);

// True when a TCP connection to host:port could be made within timeoutMs,
// counted from the call (the name's resolution included); the connection is
// closed again at once. Every failure answers false. A resolution still
// running when the time is up is left to finish on its own.
bool isreachable(const QString& host, int port, int timeoutMs,
                 const HostResolver& resolve = systemresolve);
