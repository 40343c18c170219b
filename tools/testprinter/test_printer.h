// A network receipt printer on loopback, for tests, demos and people without
// a printer: a TCP listener (raw printing, as on port 9100) that records what
// it receives, and optionally the UDP status channel of a KP printer.
//
// Connections are served one after another. Modes make it misbehave the way
// real printers do: read slowly, stop reading (paper out), drop the
// connection early, never close its side, answer the status channel with a
// fault or not at all.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testprinter {

class ReceiptFolder;

struct Options {
    std::string host = "127.0.0.1";
    uint16_t port = 9100; // 0: the system chooses
    // Every byte received, all connections in order; empty: not recorded.
    std::string outPath;
    // Also keep the bytes in memory (received()).
    bool keepInMemory = false;
    // Draw each job (one connection) as DIR/NNNN.png with DIR/NNNN.txt;
    // empty: no pictures. onReceipt hears of each, on the serving thread,
    // with the picture's path or else the reason it is missing.
    std::string receiptsDir;
    int paperWidth = 576;
    std::function<void(const std::string& png, const std::string& error)> onReceipt;

    // Data modes. A connection stops being read after stallAfter bytes and
    // is dropped after closeAfter bytes; readDelayMs pauses between reads of
    // at most readChunk bytes; neverClose keeps the connection open after
    // the sender finished, until the printer stops.
    uint64_t stallAfter = UINT64_MAX;
    uint64_t closeAfter = UINT64_MAX;
    uint32_t readDelayMs = 0;
    uint32_t readChunk = 65536;
    bool neverClose = false;
    // Receive buffer of the connections (0: the system's): a small one makes
    // a stalled printer stop the sender after little data.
    int receiveBuffer = 0;

    // Status channel (UDP). udpPort 0: the system chooses.
    bool statusChannel = false;
    uint16_t udpPort = 3289;
    bool statusSilent = false; // take requests, answer none
    uint32_t statusSkip = 0;   // leave the first requests unanswered
    uint16_t statusResult = 0; // result field of every reply
    int forceState = -1;       // data byte of force replies; -1 echoes the request
    std::string deviceText = "KP TEST PRINTER";
    std::string deviceCode = "KPTEST";
};

class TestPrinter {
public:
    explicit TestPrinter(Options options);
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;
    ~TestPrinter();

    // Binds and starts serving; false with a reason when it cannot.
    bool start(std::string* error);
    void stop();

    uint16_t tcpPort() const { return tcpPort_; }
    uint16_t udpPort() const { return udpPort_; }

    uint64_t bytesReceived() const { return bytes_.load(); }
    int connectionsEnded() const { return ended_.load(); }
    int statusRequests() const { return requests_.load(); }
    // Milliseconds (steady clock) at which each status request arrived.
    std::vector<uint64_t> statusRequestTimes() const;
    std::vector<uint8_t> received() const;

    // Bounded waits for the serving threads; true when reached.
    bool waitConnectionsEnded(int count, uint32_t timeoutMs);
    bool waitBytes(uint64_t count, uint32_t timeoutMs);
    bool waitStatusRequests(int count, uint32_t timeoutMs);

private:
    void serveTcp();
    void serveConnection(int fd, std::vector<uint8_t>* job);
    void drawJob(const std::vector<uint8_t>& job);
    void serveUdp();
    std::vector<uint8_t> replyTo(const uint8_t* request, size_t length);
    void record(const uint8_t* data, size_t n);
    void notify();

    Options options_;
    int listenFd_ = -1;
    int udpFd_ = -1;
    int stopFd_ = -1;
    int outFd_ = -1;
    uint16_t tcpPort_ = 0;
    uint16_t udpPort_ = 0;
    std::thread tcpThread_;
    std::thread udpThread_;
    std::unique_ptr<ReceiptFolder> receipts_;
    uint64_t bytesDropped_ = 0; // of the current job, past the drawing limit

    std::atomic<uint64_t> bytes_{0};
    std::atomic<int> ended_{0};
    std::atomic<int> requests_{0};
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<uint8_t> memory_;
    std::vector<uint64_t> requestTimes_;
};

} // namespace testprinter
