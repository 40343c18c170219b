// The IBM status link: the frame format and answer checks on their own, then
// the protocol thread against a printer the test plays on a pseudo-terminal
// (RTS and break through the seam's played modem lines).
#include "backends/serial/ibmfp.h"
#include "backends/serial/ibmfp_frame.h"
#include "played_lines.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const std::string kHead = "\x1b[c";

// An answer frame: command, flags, the rest of the body, the CRC.
std::string answer(uint8_t command, uint8_t flags, const std::string& rest) {
    const size_t length = rest.size() + 4;
    std::string s =
        kHead + char(length & 0xFF) + char(length >> 8) + char(command) + char(flags) + rest;
    const uint16_t crc = ibmfp::crc16X25(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    return s + char(crc & 0xFF) + char(crc >> 8);
}

const std::string kResetAnswer = answer(1, 0x8D, "");
// Power-on with bytes 11 22 33, and flag 0x10 set for the next poll.
const std::string kPowerOn = answer(1, 0x9D, std::string("\x80\x00\x11\x22\x33", 5));
const std::string kStatus = answer(2, 0x8D, "\x44\x55\x66");

int readFrom(const std::string& bytes, size_t* at) {
    return *at < bytes.size() ? uint8_t(bytes[(*at)++]) : -1;
}

int parse(const std::string& bytes) {
    size_t at = 0;
    ibmfp::Frame frame;
    uint8_t flags = 0;
    return ibmfp::readAnswer([&] { return readFrom(bytes, &at); }, frame, &flags);
}

TEST(IbmFrame, CrcAndHostFrames) {
    EXPECT_EQ(ibmfp::crc16X25(reinterpret_cast<const uint8_t*>("123456789"), 9), 0x906E);
    auto reset = ibmfp::hostFrame(0, 0xCC);
    EXPECT_EQ(std::string(reset.begin(), reset.end()),
              std::string("\x1b\x5b\x63\x04\x00\x00\xcc\x8c\xe0", 9));
}

TEST(IbmFrame, AnswerChecksAndTheirCodes) {
    std::string badCrcLow = kStatus, badCrcHigh = kStatus;
    badCrcLow[10] ^= 1;
    badCrcHigh[11] ^= 1;
    struct {
        const char* what;
        std::string bytes;
        int result;
    } const cases[] = {
        {"status", kStatus, 12},
        {"power-on", kPowerOn, 14},
        {"longest", answer(2, 0x8D, std::string(252, 'x')), 261},
        {"nothing", "", -1},
        {"cut in the head", "\x1b[", -1},
        {"cut in the body", kStatus.substr(0, 8), -1},
        {"not ESC", "x[c", -2},
        {"not [", "\x1bxc", -2},
        {"L = 3", kHead + std::string("\x03\x00", 2) + "abc", -3},
        {"L = 257", kHead + "\x01\x01" + std::string(300, 'x'), -3},
        {"L = 65535", kHead + "\xff\xff", -3},
        {"CRC low", badCrcLow, -44},
        {"CRC high", badCrcHigh, -55},
        {"command 0", answer(0, 0x8D, ""), -5},
        {"command 3", answer(3, 0x8D, ""), -5},
        {"flags", answer(1, 0x8C, ""), -6},
        {"flags 0x70 are free", answer(2, 0xFD, ""), 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.bytes), c.result) << c.what;

    size_t at = 0;
    ibmfp::Frame frame;
    uint8_t flags = 0;
    ibmfp::readAnswer([&] { return readFrom(answer(1, 0xFD, ""), &at); }, frame, &flags);
    EXPECT_EQ(flags, 0x50) << "0x40 and 0x10 are kept";
}

// The printer: reads what the port writes, tells frames from data, and
// answers each frame with what the script gives for it (nothing: silence).
class PlayedIbmPrinter {
public:
    using Script = std::function<std::string(size_t index, const std::string& frame)>;

    PlayedIbmPrinter(PtyPrinter& pty, Script script)
        : pty_(pty), script_(std::move(script)), thread_([this] { run(); }) {}
    ~PlayedIbmPrinter() {
        {
            std::lock_guard<std::mutex> g(lock_);
            stop_ = true;
        }
        thread_.join();
    }

    // What arrived, in order: "R" a reset frame, "P<control>" a poll frame
    // (the control byte in hex), data as "D:<bytes>".
    std::vector<std::string> events() {
        std::lock_guard<std::mutex> g(lock_);
        return events_;
    }
    size_t frames() {
        std::lock_guard<std::mutex> g(lock_);
        return frames_;
    }
    bool waitForFrames(size_t n) {
        std::unique_lock<std::mutex> g(lock_);
        return changed_.wait_for(g, 30s, [&] { return frames_ >= n; });
    }
    bool waitForEvent(const std::string& event) {
        std::unique_lock<std::mutex> g(lock_);
        return changed_.wait_for(g, 30s, [&] {
            return std::find(events_.begin(), events_.end(), event) != events_.end();
        });
    }

private:
    void run() {
        std::string buffer;
        for (;;) {
            {
                std::lock_guard<std::mutex> g(lock_);
                if (stop_) return;
            }
            pollfd p{pty_.master(), POLLIN, 0};
            if (::poll(&p, 1, 20) == 1) {
                char chunk[512];
                const ssize_t n = ::read(pty_.master(), chunk, sizeof chunk);
                if (n > 0) buffer.append(chunk, size_t(n));
            }
            while (!buffer.empty()) {
                if (buffer.compare(0, std::min<size_t>(buffer.size(), 3), kHead, 0,
                                   std::min<size_t>(buffer.size(), 3)) == 0) {
                    if (buffer.size() < 9) break;
                    const std::string frame = buffer.substr(0, 9);
                    buffer.erase(0, 9);
                    onFrame(frame);
                    continue;
                }
                {
                    std::lock_guard<std::mutex> g(lock_);
                    if (events_.empty() || events_.back().rfind("D:", 0) != 0)
                        events_.push_back("D:");
                    events_.back() += buffer[0];
                }
                buffer.erase(0, 1);
                changed_.notify_all();
            }
        }
    }

    void onFrame(const std::string& frame) {
        size_t index;
        {
            std::lock_guard<std::mutex> g(lock_);
            index = frames_;
            char name[8];
            std::snprintf(name, sizeof name, "P%02X", uint8_t(frame[6]));
            events_.push_back(frame[5] == 0 ? std::string("R") : std::string(name));
        }
        const std::string reply = script_(index, frame);
        if (!reply.empty()) pty_.write(reply);
        {
            std::lock_guard<std::mutex> g(lock_);
            ++frames_;
        }
        changed_.notify_all();
    }

    PtyPrinter& pty_;
    Script script_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
    size_t frames_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

// Keeps the standard-output lines of the protocol thread.
class RecordingIbmfp : public WIBMFP {
public:
    // The thread may still print until it is stopped.
    ~RecordingIbmfp() override { release(0); }
    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> g(lock_);
        return lines_;
    }

protected:
    void statusLine(const char* line) override {
        std::lock_guard<std::mutex> g(lock_);
        lines_.push_back(line);
    }

private:
    std::mutex lock_;
    std::vector<std::string> lines_;
};

// Answers the reset, reports power-on, answers the polls given, then falls silent.
std::string upThenSilent(size_t index, const std::string& frame, size_t statusPolls) {
    if (frame[5] == 0) return index == 0 ? kResetAnswer : "";
    if (index == 1) return kPowerOn;
    return index < 2 + statusPolls ? kStatus : "";
}

class IbmPort : public ::testing::Test {
protected:
    PtyPrinter pty;
    ScopedLibraryFiles files{"[devices]\nCOM1=" + pty.path() + "\n"};
    PlayedLines played;

    // A printer that falls silent is noticed after this long.
    void claimWithReadBound(WIBMFP& port, uint32_t readMs) {
        DovaCommTimeouts t{0, 0, readMs, 0, 2000};
        ASSERT_EQ(port.setCommTimeouts(&t), 0);
        ASSERT_EQ(port.claim(0), 0);
    }
    std::string received(WIBMFP& port) {
        std::string got;
        char buf[512];
        uint32_t n = 0;
        while (port.recv(buf, sizeof buf, &n, 0) == 0 && n != 0)
            got.append(buf, n);
        return got;
    }
};

TEST_F(IbmPort, PowerOnLeadsToStatusPollingAndSilenceBackToReset) {
    PlayedIbmPrinter printer(pty,
                             [](size_t i, const std::string& f) { return upThenSilent(i, f, 1); });
    RecordingIbmfp port;
    claimWithReadBound(port, 300);
    // reset, power-on poll, one status poll, an unanswered poll, reset again
    ASSERT_TRUE(printer.waitForFrames(5)) << files.trace();
    EXPECT_EQ(received(port).substr(0, 35), kResetAnswer + kPowerOn + kStatus)
        << "every answer reaches the receive queue";
    EXPECT_EQ(port.release(0), 0);
    std::vector<std::string> events = printer.events();
    events.resize(5);
    // The power-on answer's flag 0x10 goes into the next poll only.
    EXPECT_EQ(events, (std::vector<std::string>{"R", "PCD", "PDD", "PCD", "R"}));
    EXPECT_EQ(port.lines(), (std::vector<std::string>{"@POR 11 22 33\n", "@STATUS 44 55 66\n"}));

    // Each reset starts with the break; each answer byte is clocked by RTS.
    const std::vector<std::string> calls = played.calls();
    const std::vector<std::string> brk{"RTS-", "BRK+", "BRK-"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), brk.begin(), brk.end()), calls.end());
    EXPECT_GE(std::count(calls.begin(), calls.end(), "RTS+"), 35);
    const std::string trace = files.trace();
    for (const char* line : {"DOVA: WIBMFP::claim()\n", "DOVA: WIBMFP::start Threads\n",
                             "DOVA: WIBMFP::procWait() Start\n", "DOVA: WIBMFP::procWait() End\n",
                             "DOVA: WIBMFP::release(0)\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
}

TEST_F(IbmPort, AnswersWithABadLengthSendTheThreadBackToReset) {
    for (const std::string& bad : {kHead + std::string("\x03\x00", 2) + "xyz",
                                   kHead + std::string("\x01\x01", 2) + std::string(255, 'x')}) {
        PlayedIbmPrinter printer(pty, [&](size_t i, const std::string&) {
            return i == 0 ? kResetAnswer : i == 1 ? bad : "";
        });
        RecordingIbmfp port;
        claimWithReadBound(port, 300);
        ASSERT_TRUE(printer.waitForFrames(3));
        EXPECT_EQ(port.release(0), 0);
        std::vector<std::string> events = printer.events();
        events.resize(3);
        EXPECT_EQ(events, (std::vector<std::string>{"R", "PCD", "R"}));
        EXPECT_TRUE(port.lines().empty());
    }
}

TEST_F(IbmPort, CallerDataGoesOutBetweenPollsOncePrinterIsUp) {
    PlayedIbmPrinter printer(
        pty, [](size_t i, const std::string& f) { return upThenSilent(i, f, 1000); });
    RecordingIbmfp port;
    claimWithReadBound(port, 2000);
    const std::string job = "TICKET 12\r\n";
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(job.data(), uint32_t(job.size()), &accepted, 0, 0, 0), 0);
    ASSERT_EQ(accepted, job.size());
    EXPECT_EQ(port.release(10000), 0) << "the job left";
    ASSERT_TRUE(printer.waitForEvent("D:" + job)) << "whole, in one gap";
    const std::vector<std::string> events = printer.events();
    auto data = std::find(events.begin(), events.end(), "D:" + job);
    ASSERT_NE(data, events.end()) << "whole, in one gap";
    // After the power-on answer and a status answer, before the next poll.
    EXPECT_GE(data - events.begin(), 3);
    EXPECT_EQ(events[size_t(data - events.begin()) - 1][0], 'P');
}

TEST_F(IbmPort, CallerDataForAPrinterThatNeverCameUpIsReportedNotDropped) {
    PlayedIbmPrinter printer(pty, [](size_t, const std::string&) { return std::string(); });
    RecordingIbmfp port;
    claimWithReadBound(port, 200);
    uint32_t accepted = 0;
    ASSERT_EQ(port.send("JOB", 3, &accepted, 0, 0, 0), 0);
    EXPECT_EQ(port.release(300), 1);
    for (const std::string& e : printer.events())
        EXPECT_NE(e[0], 'D') << "nothing but frames reached the printer";
}

TEST_F(IbmPort, ReleaseZeroEndsTheThreadPromptlyInEveryState) {
    // Reads would wait a minute: only the stop may end them.
    struct {
        const char* state;
        size_t frames;
        PlayedIbmPrinter::Script script;
    } const cases[] = {
        {"reset", 1, [](size_t, const std::string&) { return std::string(); }},
        {"power-on check", 2,
         [](size_t i, const std::string&) { return i == 0 ? kResetAnswer : std::string(); }},
        {"status polling", 4, [](size_t i, const std::string& f) { return upThenSilent(i, f, 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        PlayedIbmPrinter printer(pty, c.script);
        RecordingIbmfp port;
        claimWithReadBound(port, 60000);
        ASSERT_TRUE(printer.waitForFrames(c.frames));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(port.release(0), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
        EXPECT_EQ(port.isOpen(), 0);
    }
}

TEST_F(IbmPort, ALineWithoutModemControlCannotCarryTheLink) {
    played.noModemControl = true;
    WIBMFP port;
    EXPECT_EQ(port.claim(0), 1041);
    EXPECT_EQ(port.isOpen(), 0);
    char buf[4];
    uint32_t n = 0;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), 1101) << "no queue after a failed claim";
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 1102);
}

} // namespace
