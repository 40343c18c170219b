// The KP status channel against the test printer's UDP responder.
#include "backends/net/net_kpnet.h"
#include "backends/net/net_kpnet_events.h"
#include "backends/net/net_status_channel.h"
#include "net_test_support.h"
#include "test_printer.h"

#include <dova/dova.h>

#include "os/os_trace_sink.h"
#include "os/posix/syscalls.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// A KP printer on loopback and a claimed port that reaches both its channels.
struct KpFixture {
    explicit KpFixture(testprinter::Options o)
        : printer((o.port = 0, o.statusChannel = true, o.udpPort = 0, o)) {
        EXPECT_TRUE(printer.start(nullptr));
        config = std::make_unique<ScopedConfig>("StatusPort=" + std::to_string(printer.udpPort()) +
                                                "\n");
        port.setIP(loopback());
        port.setPort(printer.tcpPort());
        EXPECT_EQ(port.claim(0), 0);
    }
    testprinter::TestPrinter printer;
    std::unique_ptr<ScopedConfig> config;
    WKpnet port;
};

void expectAboutASecondApart(const std::vector<uint64_t>& times) {
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_GE(times[i] - times[i - 1], 900u) << "request " << i << " came too soon";
}

TEST(KpStatus, AnsweringPrinterResetsForcesAndAnswersTheQueries) {
    testprinter::Options o;
    o.deviceText = std::string(140, 'T'); // longer than the reply can carry
    o.deviceCode = "KP-300";
    KpFixture kp(o);
    EXPECT_EQ(kp.port.reset(), 0);
    EXPECT_EQ(kp.port.force(1), 0);
    EXPECT_EQ(kp.port.force(0), 0);

    char text[200];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(kp.port.queryDeviceText(text), 0);
    EXPECT_EQ(std::strlen(text), 133u);
    EXPECT_EQ(std::string(text), std::string(133, 'T'));

    char code[14];
    EXPECT_EQ(kp.port.queryDeviceCode(code), 0);
    EXPECT_STREQ(code, "KP-300");
    EXPECT_EQ(kp.port.queryDeviceCheck(0), 0);
    EXPECT_EQ(kp.printer.statusRequests(), 6);
    EXPECT_EQ(kp.port.queryDeviceText(nullptr), DOVA_E_PARAM);
}

TEST(KpStatus, PrinterReportingAFaultGivesTheStatusCode) {
    testprinter::Options o;
    o.statusResult = 2;
    KpFixture kp(o);
    EXPECT_EQ(kp.port.reset(), DOVA_E_DEVSTATUS);
    EXPECT_EQ(kp.port.force(1), DOVA_E_DEVSTATUS);
    char text[134];
    EXPECT_EQ(kp.port.queryDeviceText(text), DOVA_E_DEVSTATUS);
}

TEST(KpStatus, SilentPrinterGetsThreeTriesOneSecondApart) {
    testprinter::Options o;
    o.statusSilent = true;
    KpFixture kp(o);
    EXPECT_EQ(kp.port.reset(), 1);
    EXPECT_EQ(kp.printer.statusRequests(), 3);
    expectAboutASecondApart(kp.printer.statusRequestTimes());
}

TEST(KpStatus, LateAnswerWithinTheTriesIsTaken) {
    testprinter::Options o;
    o.statusSkip = 2;
    KpFixture kp(o);
    EXPECT_EQ(kp.port.reset(), 0);
    EXPECT_EQ(kp.printer.statusRequests(), 3);
}

// The sleeps the port asks for, in milliseconds, taken without sleeping.
std::vector<uint32_t> sleeps;

struct RecordSleeps {
    decltype(os::sys::nanosleep) saved = os::sys::nanosleep;
    RecordSleeps() {
        sleeps.clear();
        os::sys::nanosleep = [](const timespec* t, timespec*) -> int {
            sleeps.push_back(uint32_t(t->tv_sec * 1000 + t->tv_nsec / 1000000));
            return 0;
        };
    }
    ~RecordSleeps() { os::sys::nanosleep = saved; }
};

TEST(KpStatus, ForceNotConfirmedIsRetriedAndGivesUpAfterThreePasses) {
    testprinter::Options o;
    o.forceState = 0;
    KpFixture kp(o);
    RecordSleeps record;
    EXPECT_EQ(kp.port.force(1), 1);
    EXPECT_EQ(kp.printer.statusRequests(), 3);
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{1000, 1000, 1000}))
        << "a second after each pass, the last one too";
    sleeps.clear();
    EXPECT_EQ(kp.port.force(0), 0) << "the printer is in the state asked for";
    EXPECT_TRUE(sleeps.empty());
}

// A UDP port on loopback: kept open and silent, or closed so the host answers
// "port unreachable".
struct UdpPeer {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    uint16_t port = 0;
    UdpPeer() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = loopback();
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~UdpPeer() { close(); }
    void close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(KpStatusChannel, HostAnsweringPortUnreachableFailsTheReceiveWithoutResending) {
    UdpPeer gone;
    gone.close();
    ScopedConfig config("StatusPort=" + std::to_string(gone.port) + "\n");
    WUdpc channel;
    channel.setTarget(loopback());
    ASSERT_EQ(channel.open(), 0);
    auto packet = WUdpc::packet('C', 0x12, {0});
    TraceCapture trace;
    EXPECT_EQ(channel.request(packet.data(), uint32_t(packet.size()), 1000, 3), DOVA_E_STATUSRECV);
    std::string text = trace.text();
    EXPECT_EQ(count(text, "DOVA: sendto(len=15)=15\n"), 1u) << text;
    EXPECT_NE(text.find("DOVA: recvfrom(fromlen=16)=-1\n"), std::string::npos) << text;
}

TEST(KpStatusChannel, FailedWaitIsTracedAsTheEngineDoesAndTheReceiveStillTried) {
    UdpPeer silent;
    ScopedConfig config("StatusPort=" + std::to_string(silent.port) + "\n");
    WUdpc channel;
    channel.setTarget(loopback());
    ASSERT_EQ(channel.open(), 0);
    auto packet = WUdpc::packet('Q', 0x17);
    TraceCapture trace;
    auto realPoll = os::sys::poll;
    os::sys::poll = [](pollfd*, nfds_t, int) -> int {
        errno = EINVAL;
        return -1;
    };
    int32_t r = channel.request(packet.data(), uint32_t(packet.size()), 1000, 3);
    os::sys::poll = realPoll;
    EXPECT_EQ(r, DOVA_E_STATUSRECV) << "nothing to receive after the failed wait";
    EXPECT_EQ(trace.text(), "DOVA: sendto(len=14)=14\n"
                            "DOVA: WaitForMulti()=-1\n"
                            "DOVA: WAIT_FAILED 22\n"
                            "DOVA: recvfrom(fromlen=16)=-1\n");
}

TEST(KpStatus, EventDrivenPortUsesTheSameChannel) {
    testprinter::TestPrinter printer([] {
        testprinter::Options o;
        o.port = 0;
        o.statusChannel = true;
        o.udpPort = 0;
        return o;
    }());
    ASSERT_TRUE(printer.start(nullptr));
    ScopedConfig config("StatusPort=" + std::to_string(printer.udpPort()) + "\n");
    WKpnetE port;
    port.setIP(loopback());
    port.setPort(printer.tcpPort());
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.reset(), 0);
    EXPECT_EQ(port.release(1000), 0);
    EXPECT_EQ(port.reset(), DOVA_E_STATUSSEND) << "the channel closes with the port";
}

TEST(KpStatusReply, MatchesOnlyItsOwnRequest) {
    auto request = WUdpc::packet('Q', 0x10);
    ASSERT_EQ(request.size(), 14u);
    auto reply = request;
    reply[5] = 'q';
    reply.push_back(0);
    auto matches = [&](const std::vector<uint8_t>& r, const std::vector<uint8_t>& q) {
        return WUdpc::matches(q.data(), uint32_t(q.size()), r.data(), uint32_t(r.size()));
    };
    EXPECT_TRUE(matches(reply, request));

    auto shortReply = reply;
    shortReply.resize(13);
    EXPECT_FALSE(matches(shortReply, request));
    auto upper = reply;
    upper[5] = 'Q';
    EXPECT_FALSE(matches(upper, request)) << "a reply has the type in lower case";
    auto otherCode = reply;
    otherCode[9] = 0x17;
    EXPECT_FALSE(matches(otherCode, request));
    auto magic = reply;
    magic[0] = 'X';
    EXPECT_FALSE(matches(magic, request));
    auto strange = WUdpc::packet('X', 0x10);
    auto strangeReply = strange;
    strangeReply[5] = 'x';
    strangeReply.push_back(0);
    EXPECT_FALSE(matches(strangeReply, strange)) << "unknown request types never match";

    auto force = WUdpc::packet('C', 0x15, {1});
    EXPECT_EQ(force,
              (std::vector<uint8_t>{'O', 'R', 'V', 'A', 'N', 'C', 3, 0, 0, 0x15, 0, 0, 0, 1, 1}));
}

} // namespace
