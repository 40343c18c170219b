#include "internet_check.h"

#include <QTcpSocket>

bool isreachable(const QString& host, int port, int timeoutMs) {
    if (host.isEmpty() || port <= 0 || port > 65535) return false;
    QTcpSocket socket;
    socket.connectToHost(host, quint16(port));
    const bool connected = socket.waitForConnected(timeoutMs);
    socket.abort();
    return connected;
}
