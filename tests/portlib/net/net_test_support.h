// Shared pieces of the network port tests.
#pragma once

#include "dova_base.h"
#include "test_printer.h"

#include <cstdint>
#include <future>
#include <string>
#include <vector>

// 127.0.0.1 in network byte order.
uint32_t loopback();

// Points the library's configuration at a file of the test's own for the
// life of the object (LIBDOVA_CONF), e.g. "StatusPort=40000\n".
class ScopedConfig {
public:
    explicit ScopedConfig(const std::string& text);
    ~ScopedConfig();

private:
    std::string path_;
};

// A TCP listener on loopback that accepts one connection and lets the test
// write to it and read from it, as a printer that answers.
class AnsweringPeer {
public:
    AnsweringPeer();
    ~AnsweringPeer();
    uint16_t port() const { return port_; }
    // Accepts the connection the port made (waits at most 10 s).
    bool accept();
    bool write(const std::string& text);
    // Reads until the peer's side ends or n bytes arrived (bounded waits).
    std::string read(size_t n);
    void closeConnection();

private:
    int listen_ = -1;
    int conn_ = -1;
    uint16_t port_ = 0;
};

// A port on this machine where nothing listens (connection refused).
uint16_t refusedPort();

// Sends everything, offering the rest again while the queue is full; false
// when the port stops taking data for 10 s.
bool sendAll(DovaBase& port, const std::vector<uint8_t>& data);

// Runs a release on another thread; a hang aborts the test program rather
// than blocking the suite. The bound is generous: not a speed check.
int32_t boundedRelease(DovaBase& port, int32_t timeout);

std::vector<uint8_t> pattern(size_t n);

// Test printer options on a port the system chooses, changed by `edit`.
template <class Edit> testprinter::Options anyPort(Edit edit) {
    testprinter::Options o;
    o.port = 0;
    edit(o);
    return o;
}
inline testprinter::Options anyPort() {
    return anyPort([](testprinter::Options&) {});
}

// The library's debug trace of one scope, in a file of the test's own.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;
    std::string text() const;

private:
    std::string path_;
};
