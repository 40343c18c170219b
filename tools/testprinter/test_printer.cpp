#include "test_printer.h"

#include "receipt_folder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace testprinter {
namespace {

// A job bigger than this is drawn from its beginning only; the paper's
// length limit would end it long before anyway.
constexpr size_t kMaxDrawnJob = size_t(16) << 20;

uint64_t nowMs() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int bindSocket(int type, const std::string& host, uint16_t port, int receiveBuffer, uint16_t* bound,
               std::string* error) {
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    // Set before listen, so that accepted connections start with it.
    if (receiveBuffer > 0)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &a.sin_addr) != 1) {
        *error = "not an IPv4 address: " + host;
        ::close(fd);
        return -1;
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        (type == SOCK_STREAM && ::listen(fd, 8) != 0)) {
        *error = "bind " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *bound = ntohs(a.sin_port);
    return fd;
}

} // namespace

TestPrinter::TestPrinter(Options options) : options_(std::move(options)) {}

TestPrinter::~TestPrinter() {
    stop();
}

bool TestPrinter::start(std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    stopFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (!options_.outPath.empty()) {
        outFd_ = ::open(options_.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (outFd_ < 0) {
            *error = options_.outPath + ": " + std::strerror(errno);
            stop();
            return false;
        }
    }
    if (!options_.receiptsDir.empty()) {
        receipts_ = std::make_unique<ReceiptFolder>(options_.receiptsDir, options_.paperWidth);
        if (!receipts_->open(error)) {
            stop();
            return false;
        }
    }
    listenFd_ = bindSocket(SOCK_STREAM, options_.host, options_.port, options_.receiveBuffer,
                           &tcpPort_, error);
    if (listenFd_ < 0) {
        stop();
        return false;
    }
    if (options_.statusChannel) {
        udpFd_ = bindSocket(SOCK_DGRAM, options_.host, options_.udpPort, 0, &udpPort_, error);
        if (udpFd_ < 0) {
            stop();
            return false;
        }
        udpThread_ = std::thread([this] { serveUdp(); });
    }
    tcpThread_ = std::thread([this] { serveTcp(); });
    return true;
}

void TestPrinter::stop() {
    if (stopFd_ >= 0) {
        uint64_t one = 1;
        ssize_t ignored = ::write(stopFd_, &one, sizeof one);
        (void)ignored;
    }
    if (tcpThread_.joinable()) tcpThread_.join();
    if (udpThread_.joinable()) udpThread_.join();
    closeFd(listenFd_);
    closeFd(udpFd_);
    closeFd(outFd_);
    closeFd(stopFd_);
}

void TestPrinter::notify() {
    std::lock_guard<std::mutex> guard(lock_);
    changed_.notify_all();
}

void TestPrinter::record(const uint8_t* data, size_t n) {
    if (outFd_ >= 0) {
        size_t done = 0;
        while (done < n) {
            ssize_t w = ::write(outFd_, data + done, n - done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) break;
            done += size_t(w);
        }
    }
    std::lock_guard<std::mutex> guard(lock_);
    if (options_.keepInMemory) memory_.insert(memory_.end(), data, data + n);
    bytes_ += n;
    changed_.notify_all();
}

void TestPrinter::serveTcp() {
    for (;;) {
        pollfd p[2] = {{stopFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[0].revents) return;
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::vector<uint8_t> job;
        serveConnection(fd, receipts_ ? &job : nullptr);
        ::close(fd);
        // Drawn after the close, so the sender is not kept waiting, and
        // before the connection counts as ended, so that whoever waits for
        // that finds the picture.
        if (receipts_) drawJob(job);
        ++ended_;
        notify();
    }
}

void TestPrinter::drawJob(const std::vector<uint8_t>& job) {
    std::string error;
    const std::string png = receipts_->write(job, bytesDropped_ > 0, &error);
    bytesDropped_ = 0;
    if (options_.onReceipt) options_.onReceipt(png, error);
}

void TestPrinter::serveConnection(int fd, std::vector<uint8_t>* job) {
    std::vector<uint8_t> buffer(std::max<uint32_t>(options_.readChunk, 1));
    uint64_t got = 0;
    bool stalled = false;
    for (;;) {
        stalled = stalled || got >= options_.stallAfter;
        // A stalled printer reads nothing but still notices the sender leaving.
        pollfd p[2] = {{stopFd_, POLLIN, 0}, {fd, short(stalled ? POLLRDHUP : POLLIN), 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[0].revents) return;
        if (stalled) return;
        size_t want = buffer.size();
        if (options_.stallAfter != UINT64_MAX)
            want = std::min<uint64_t>(want, options_.stallAfter - got);
        if (options_.closeAfter != UINT64_MAX)
            want = std::min<uint64_t>(want, options_.closeAfter - got);
        ssize_t n = ::recv(fd, buffer.data(), want, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!options_.neverClose) return;
            // Keep the connection until the printer is stopped.
            pollfd s{stopFd_, POLLIN, 0};
            while (::poll(&s, 1, -1) < 0 && errno == EINTR) {
            }
            return;
        }
        record(buffer.data(), size_t(n));
        if (job) {
            const size_t keep = std::min(size_t(n), kMaxDrawnJob - job->size());
            job->insert(job->end(), buffer.data(), buffer.data() + keep);
            bytesDropped_ += uint64_t(n) - keep;
        }
        got += uint64_t(n);
        if (got >= options_.closeAfter) {
            // Unread data makes the close a reset, as a printer that drops
            // the connection in the middle of a job.
            linger l{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
            return;
        }
        if (options_.readDelayMs) {
            pollfd s{stopFd_, POLLIN, 0};
            if (::poll(&s, 1, int(options_.readDelayMs)) > 0) return;
        }
    }
}

std::vector<uint8_t> TestPrinter::replyTo(const uint8_t* request, size_t length) {
    std::vector<uint8_t> reply(request, request + 10);
    reply[5] = uint8_t(std::tolower(request[5]));
    reply.push_back(uint8_t(options_.statusResult >> 8));
    reply.push_back(uint8_t(options_.statusResult));
    const uint16_t command = uint16_t(request[8] << 8 | request[9]);
    std::vector<uint8_t> data;
    auto text = [](const std::string& s, size_t n) {
        std::vector<uint8_t> d(n, 0);
        std::memcpy(d.data(), s.data(), std::min(n, s.size()));
        return d;
    };
    if (request[5] == 'C' && command == 0x15) {
        uint8_t asked = length > 14 ? request[14] : 0;
        data.push_back(options_.forceState >= 0 ? uint8_t(options_.forceState) : asked);
    } else if (request[5] == 'C') {
        data.push_back(length > 14 ? request[14] : 0);
    } else if (command == 0x00) {
        data = text(options_.deviceText, 133);
    } else if (command == 0x10) {
        data = text(options_.deviceCode, 13);
    } else if (command == 0x17) {
        data.assign(4, 0);
    }
    reply.push_back(uint8_t(data.size() >> 8));
    reply.push_back(uint8_t(data.size()));
    reply.insert(reply.end(), data.begin(), data.end());
    return reply;
}

void TestPrinter::serveUdp() {
    uint8_t packet[1500];
    for (;;) {
        pollfd p[2] = {{stopFd_, POLLIN, 0}, {udpFd_, POLLIN, 0}};
        if (::poll(p, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (p[0].revents) return;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        ssize_t n = ::recvfrom(udpFd_, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from),
                               &fromLength);
        if (n < 14 || std::memcmp(packet, "ORVAN", 5) != 0) continue;
        int index;
        {
            std::lock_guard<std::mutex> guard(lock_);
            requestTimes_.push_back(nowMs());
            index = requests_++;
            changed_.notify_all();
        }
        if (options_.statusSilent || uint32_t(index) < options_.statusSkip) continue;
        auto reply = replyTo(packet, size_t(n));
        ::sendto(udpFd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                 fromLength);
    }
}

std::vector<uint64_t> TestPrinter::statusRequestTimes() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requestTimes_;
}

std::vector<uint8_t> TestPrinter::received() const {
    std::lock_guard<std::mutex> guard(lock_);
    return memory_;
}

bool TestPrinter::waitConnectionsEnded(int count, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return ended_.load() >= count; });
}

bool TestPrinter::waitBytes(uint64_t count, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return bytes_.load() >= count; });
}

bool TestPrinter::waitStatusRequests(int count, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return requests_.load() >= count; });
}

} // namespace testprinter
