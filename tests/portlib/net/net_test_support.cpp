#include "net_test_support.h"

#include "os/os_clock.h"
#include "os/os_trace_sink.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

uint32_t loopback() {
    return htonl(INADDR_LOOPBACK);
}

ScopedConfig::ScopedConfig(const std::string& text) {
    char name[] = "/tmp/dova-net-test-XXXXXX";
    int fd = ::mkstemp(name);
    ::close(fd);
    path_ = name;
    std::ofstream(path_) << text;
    ::setenv("LIBDOVA_CONF", path_.c_str(), 1);
}

ScopedConfig::~ScopedConfig() {
    ::unsetenv("LIBDOVA_CONF");
    std::remove(path_.c_str());
}

namespace {

int listenLoopback(uint16_t* port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd, 4);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

} // namespace

AnsweringPeer::AnsweringPeer() {
    listen_ = listenLoopback(&port_);
}

AnsweringPeer::~AnsweringPeer() {
    closeConnection();
    if (listen_ >= 0) ::close(listen_);
}

bool AnsweringPeer::accept() {
    pollfd p{listen_, POLLIN, 0};
    if (::poll(&p, 1, 10000) != 1) return false;
    conn_ = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    return conn_ >= 0;
}

bool AnsweringPeer::write(const std::string& text) {
    return ::send(conn_, text.data(), text.size(), MSG_NOSIGNAL) == ssize_t(text.size());
}

std::string AnsweringPeer::read(size_t n) {
    std::string got;
    char buf[4096];
    while (got.size() < n) {
        pollfd p{conn_, POLLIN, 0};
        if (::poll(&p, 1, 10000) != 1) break;
        ssize_t r = ::recv(conn_, buf, std::min(sizeof buf, n - got.size()), 0);
        if (r <= 0) break;
        got.append(buf, size_t(r));
    }
    return got;
}

void AnsweringPeer::closeConnection() {
    if (conn_ >= 0) ::close(conn_);
    conn_ = -1;
}

uint16_t refusedPort() {
    uint16_t port = 0;
    int fd = listenLoopback(&port);
    ::close(fd); // nothing listens there any more
    return port;
}

bool sendAll(DovaBase& port, const std::vector<uint8_t>& data) {
    size_t done = 0;
    uint32_t idleSince = os::tickCount();
    while (done < data.size()) {
        uint32_t accepted = 0;
        if (port.send(data.data() + done, uint32_t(data.size() - done), &accepted, 0, 0, 0) > 0)
            return false;
        done += accepted;
        if (accepted) {
            idleSince = os::tickCount();
        } else {
            if (os::tickCount() - idleSince > 10000) return false;
            os::sleepMs(1); // the queue is full: the caller's way is to offer again
        }
    }
    return true;
}

int32_t boundedRelease(DovaBase& port, int32_t timeout) {
    auto f = std::async(std::launch::async, [&] { return port.release(timeout); });
    if (f.wait_for(std::chrono::seconds(40)) != std::future_status::ready) std::abort();
    return f.get();
}

std::vector<uint8_t> pattern(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i * 13 + i / 509);
    return v;
}

TraceCapture::TraceCapture() {
    char name[] = "/tmp/dova-net-trace-XXXXXX";
    ::close(::mkstemp(name));
    path_ = name;
    ::setenv("DOVA_TRACE", name, 1);
    os::traceReset();
}

TraceCapture::~TraceCapture() {
    ::unsetenv("DOVA_TRACE");
    os::traceReset();
    std::remove(path_.c_str());
}

std::string TraceCapture::text() const {
    std::ifstream in(path_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
