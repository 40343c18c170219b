#include "internet_check.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QTcpSocket>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the resolving thread hands back. Shared, so that a thread that
// outlives the wait for it still has somewhere to put its answer.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    QList<QHostAddress> addresses;
};

// The resolver may wait far longer than the check may take, and cannot be
// interrupted: it runs on a thread of its own that is waited for only until
// the deadline.
QList<QHostAddress> resolvewithin(const QString& host, const QDeadlineTimer& deadline,
                                  const HostResolver& resolve) {
    QHostAddress literal;
    if (literal.setAddress(host)) return {literal};
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host, resolve] {
        QList<QHostAddress> addresses = resolve(host);
        {
            const std::lock_guard<std::mutex> lock(lookup->mutex);
            lookup->addresses = std::move(addresses);
            lookup->finished = true;
        }
        lookup->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    lookup->done.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()),
                          [&] { return lookup->finished; });
    return lookup->finished ? lookup->addresses : QList<QHostAddress>();
}

} // namespace

QList<QHostAddress> systemresolve(const QString& host) {
    const QHostInfo info = QHostInfo::fromName(host);
    return info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>();
}

bool isreachable(const QString& host, int port, int timeoutMs, const HostResolver& resolve) {
    if (host.isEmpty() || port <= 0 || port > 65535 || timeoutMs <= 0) return false;
    const QDeadlineTimer deadline(timeoutMs);
    for (const QHostAddress& address : resolvewithin(host, deadline, resolve)) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) break;
        // An address, not a name: the socket has nothing left to look up.
        QTcpSocket socket;
        socket.connectToHost(address, quint16(port));
        const bool connected = socket.waitForConnected(int(left));
        socket.abort();
        if (connected) return true;
    }
    return false;
}
