// Serial ports over a pseudo-terminal: the port opens the slave side as its
// COM device, the test plays the printer on the master side. Modem lines and
// break, which a pseudo-terminal does not answer, are played through the
// seam's system calls.
#include "backends/serial/com.h"
#include "backends/serial/com_events.h"
#include "backends/serial/com_threads.h"
#include "played_lines.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <filesystem>
#include <future>
#include <memory>
#include <vector>

namespace {

constexpr uint32_t kCs7 = 0000040, kCsize = 0000060, kParenb = 0000400, kParodd = 0001000,
                   kCmspar = 010000000000;

class SerialPort : public ::testing::Test {
protected:
    PtyPrinter printer;
    ScopedLibraryFiles files{"[devices]\nCOM1=" + printer.path() + "\n"};

    // Sends everything through a worker-thread port and reads it back.
    std::string roundTrip(DovaBase& port, const std::string& bytes) {
        uint32_t accepted = 0;
        EXPECT_EQ(port.send(bytes.data(), uint32_t(bytes.size()), &accepted, 0, 0, 0), 0);
        EXPECT_EQ(accepted, bytes.size());
        return printer.read(bytes.size());
    }
};

TEST_F(SerialPort, UnsetPortRunsRaw9600WithoutFlowAndCarriesBytesBothWays) {
    PlayedLines played;
    WComA port;
    ASSERT_EQ(port.claim(0), 0);
    PtyLine line = printer.line();
    EXPECT_EQ(line.speed, 9600u);
    EXPECT_FALSE(line.cstopb);
    EXPECT_FALSE(line.crtscts);
    EXPECT_FALSE(line.ixon || line.ixoff);
    EXPECT_FALSE(line.opost || line.icanon) << "raw: bytes pass unchanged";
    EXPECT_EQ(played.lastCflag() & kCsize, kCsize) << "8 data bits";
    EXPECT_EQ(played.lastCflag() & kParenb, 0u);
    EXPECT_EQ(played.lines.load() & (TIOCM_DTR | TIOCM_RTS), TIOCM_DTR | TIOCM_RTS);

    EXPECT_EQ(roundTrip(port, std::string("\x1b@\r\n\x00\xff\x11\x13", 8)),
              std::string("\x1b@\r\n\x00\xff\x11\x13", 8));
    ASSERT_TRUE(printer.write("ok\r\n"));
    std::string got;
    for (int i = 0; i < 1000 && got.size() < 4; ++i) {
        char buf[8];
        uint32_t n = 0;
        ASSERT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
        got.append(buf, n);
        if (got.size() < 4) printer.read(1, 5); // a bounded wait for the worker
    }
    EXPECT_EQ(got, "ok\r\n");
    EXPECT_EQ(port.release(5000), 0);
    EXPECT_NE(files.trace().find("DOVA:  '" + printer.path() + "'="), std::string::npos)
        << files.trace();
}

struct LineCase {
    int32_t baud, stopBits, flow;
    uint32_t speed;
    bool cstopb, crtscts, xon;
};

TEST_F(SerialPort, LineSettingsReachTheLine) {
    const LineCase cases[] = {
        {19200, 2, 2, 19200, true, true, false},
        {38400, 1, 3, 38400, true, false, true},     // one and a half goes as two
        {250000, 0, 0, 250000, false, false, false}, // no code of its own
        {115200, 0, 4, 115200, false, true, false},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.baud);
        WComA port;
        ASSERT_EQ(port.setBaudRate(c.baud), 0);
        ASSERT_EQ(port.setStopBits(c.stopBits), 0);
        ASSERT_EQ(port.setFlow(c.flow), 0);
        ASSERT_EQ(port.claim(0), 0);
        PtyLine line = printer.line();
        EXPECT_EQ(line.speed, c.speed);
        EXPECT_EQ(line.cstopb, c.cstopb);
        EXPECT_EQ(line.crtscts, c.crtscts);
        EXPECT_EQ(line.ixon, c.xon);
        EXPECT_EQ(line.ixoff, c.xon);
        if (c.xon) {
            EXPECT_EQ(line.vstart, 0x11);
            EXPECT_EQ(line.vstop, 0x13);
        }
        int32_t flow = -1;
        port.getFlow(&flow);
        EXPECT_EQ(flow, c.flow);
        EXPECT_EQ(port.release(0), 0);
    }
}

TEST_F(SerialPort, SizeAndParityAreSetWhereTheLineIsSetUp) {
    // A pseudo-terminal keeps 8 bits without parity whatever it is asked.
    struct {
        int32_t parity;
        uint32_t flags;
    } const cases[] = {{0, 0},
                       {1, kParenb | kParodd},
                       {2, kParenb},
                       {3, kParenb | kCmspar | kParodd},
                       {4, kParenb | kCmspar}};
    for (const auto& c : cases) {
        PlayedLines played;
        WCom port;
        ASSERT_EQ(port.setByteSize(7), 0);
        ASSERT_EQ(port.setParity(c.parity), 0);
        ASSERT_EQ(port.claim(0), 0);
        EXPECT_EQ(played.lastCflag() & kCsize, kCs7);
        EXPECT_EQ(played.lastCflag() & (kParenb | kParodd | kCmspar), c.flags) << c.parity;
    }
}

TEST_F(SerialPort, RefusedValuesKeepTheStoredOnes) {
    WCom port;
    int32_t v = 0;
    EXPECT_EQ(port.setByteSize(9), 1030);
    port.getByteSize(&v);
    EXPECT_EQ(v, 8);
    EXPECT_EQ(port.setParity(5), 1030);
    port.getParity(&v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(port.setStopBits(3), 1030);
    port.getStopBits(&v);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(port.setFlow(5), 1030);
    EXPECT_EQ(port.setBaudRate(0), 1030);
    port.getBaudRate(&v);
    EXPECT_EQ(v, 9600);
}

TEST_F(SerialPort, PortNumbersOutsideOneToThirtyTwoOpenNothing) {
    for (int32_t no : {0, 33, -1}) {
        WComA port;
        EXPECT_EQ(port.setNo(no), 1013);
        EXPECT_EQ(port.claim(0), 1013) << "never port 1 instead";
        EXPECT_EQ(port.isOpen(), 0);
    }
    EXPECT_EQ(files.trace().find("'="), std::string::npos) << "nothing was opened";

    WComA port;
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.setNo(2), 9999);
    WComA second;
    EXPECT_EQ(second.claim(0), 1014) << "a device held elsewhere";
    EXPECT_EQ(second.isOpen(), 0);
    port.release(0);
    EXPECT_EQ(second.claim(0), 0);
}

TEST_F(SerialPort, FlowSwitchesOnTheOpenLineAndForceOverridesIt) {
    PlayedLines played;
    WComA port;
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_FALSE(printer.line().crtscts);
    ASSERT_EQ(port.setFlow(2), 0);
    EXPECT_TRUE(printer.line().crtscts) << "applied at once";

    ASSERT_EQ(port.force(1), 0);
    EXPECT_FALSE(printer.line().crtscts) << "data goes out whatever CTS says";
    const int settings = played.settings();
    EXPECT_EQ(port.force(1), 0);
    EXPECT_EQ(played.settings(), settings) << "a second force(1) touches nothing";
    ASSERT_EQ(port.force(0), 0);
    EXPECT_TRUE(printer.line().crtscts);
    int32_t flow = 0;
    port.getFlow(&flow);
    EXPECT_EQ(flow, 2);
}

TEST_F(SerialPort, HostBusyAndReadinessFollowTheHandshakeLines) {
    PlayedLines played;
    WCom port;
    ASSERT_EQ(port.setFlow(3), 0);
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.setHostBusy(1), 9999) << "XON/XOFF has no handshake line";
    EXPECT_EQ(port.isReady(), 1);

    ASSERT_EQ(port.setFlow(2), 0);
    played.lines &= ~TIOCM_CTS;
    EXPECT_EQ(port.isReady(), 0) << "held for CTS";
    played.lines |= TIOCM_CTS;
    EXPECT_EQ(port.isReady(), 1);
    played.clear();
    EXPECT_EQ(port.setHostBusy(1), 0);
    EXPECT_EQ(port.setHostBusy(0), 0);
    EXPECT_EQ(played.calls(), (std::vector<std::string>{"RTS-", "RTS+"}));

    ASSERT_EQ(port.setFlow(0), 0);
    EXPECT_EQ(port.isReady(), 0) << "no flow control: no way to tell";
}

TEST_F(SerialPort, ModemStatusEscapesAndTheReleaseOrder) {
    PlayedLines played;
    WCom port;
    ASSERT_EQ(port.claim(0), 0);
    played.lines |= TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;
    uint32_t status = 0;
    ASSERT_EQ(port.getModemStatus(&status), 0);
    EXPECT_EQ(status, 0x10u | 0x20u | 0x80u);
    played.clear();
    EXPECT_EQ(port.escapeCommFunction(8), 0);
    EXPECT_EQ(port.escapeCommFunction(9), 0);
    EXPECT_EQ(port.escapeCommFunction(6), 0);
    EXPECT_EQ(port.escapeCommFunction(5), 0);
    EXPECT_EQ(port.escapeCommFunction(42), 9999);
    EXPECT_EQ(played.calls(), (std::vector<std::string>{"BRK+", "BRK-", "DTR-", "DTR+"}));

    played.clear();
    EXPECT_EQ(port.release(1000), 0);
    EXPECT_EQ(played.calls(), (std::vector<std::string>{"DTR-", "RTS-", "CLOSE"}))
        << "DTR and RTS drop before the close";
}

TEST_F(SerialPort, ALineWithoutModemControlStillPrints) {
    PlayedLines played;
    played.noModemControl = true;
    WComA port;
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_EQ(roundTrip(port, "ticket"), "ticket");
    uint32_t status = 0;
    EXPECT_EQ(port.getModemStatus(&status), 9999);
    EXPECT_EQ(port.escapeCommFunction(5), 9999);
    EXPECT_EQ(port.release(5000), 0);
    const std::string trace = files.trace();
    EXPECT_NE(trace.find("has no modem lines: DTR/RTS not set"), std::string::npos) << trace;
    EXPECT_NE(trace.find("has no modem lines: DTR/RTS not dropped"), std::string::npos);
}

TEST_F(SerialPort, DtrDsrFlowHoldsOutputWhileDsrIsLow) {
    PlayedLines played;
    WComA port;
    ASSERT_EQ(port.setFlow(1), 0);
    ASSERT_EQ(port.claim(0), 0);
    played.lines &= ~TIOCM_DSR;
    played.modemReads = 0;
    uint32_t accepted = 0;
    ASSERT_EQ(port.send("held", 4, &accepted, 0, 0, 0), 0);
    // The worker looks at DSR before each write: once it has looked a few
    // times, nothing may have gone out.
    for (int i = 0; i < 2000 && played.modemReads < 3; ++i)
        printer.read(1, 1);
    ASSERT_GE(played.modemReads.load(), 3);
    EXPECT_EQ(printer.read(4, 0), "");
    played.lines |= TIOCM_DSR;
    EXPECT_EQ(printer.read(4), "held");
    EXPECT_EQ(port.release(5000), 0);
}

std::promise<uint32_t>* lineEvent = nullptr;
std::promise<void>* arrived = nullptr;

TEST_F(SerialPort, EventPortReportsLineChangesAndData) {
    PlayedLines played;
    WComE port;
    std::promise<uint32_t> event;
    std::promise<void> data;
    lineEvent = &event;
    arrived = &data;
    port.lineHook = [](DovaBase*, uint32_t mask, uint32_t) {
        if (lineEvent) lineEvent->set_value(mask), lineEvent = nullptr;
    };
    port.recvHook = [](DovaBase*, uint32_t) {
        if (arrived) arrived->set_value(), arrived = nullptr;
    };
    played.modemReads = 0;
    ASSERT_EQ(port.claim(0), 0);
    // The wait worker has taken its first look at the lines once it looks again.
    for (int i = 0; i < 2000 && played.modemReads < 3; ++i)
        printer.read(1, 1);
    played.lines ^= TIOCM_CTS;
    auto changed = event.get_future();
    ASSERT_EQ(changed.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << files.trace();
    EXPECT_EQ(changed.get() & 0x08u, 0x08u) << "EV_CTS";

    ASSERT_TRUE(printer.write("ok"));
    auto got = data.get_future();
    ASSERT_EQ(got.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    char buf[4];
    uint32_t n = 0;
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "ok");
    EXPECT_EQ(roundTrip(port, "abc"), "abc");
    EXPECT_EQ(port.release(0), 0);
    const std::string trace = files.trace();
    EXPECT_NE(trace.find("DOVA: WComE::procWait() Start\n"), std::string::npos);
    EXPECT_NE(trace.find("DOVA:  EV_RXCHAR\n"), std::string::npos);
    EXPECT_NE(trace.find("DOVA: WComE::procWait() End\n"), std::string::npos);
}

TEST_F(SerialPort, DefaultNodeUnderTheDeviceRootAndASymlinkFollowed) {
    ScopedLibraryFiles none("");
    std::string root = none.dir() + "/dev";
    std::filesystem::create_directories(root);
    std::filesystem::create_symlink(printer.path(), root + "/ttyS2");
    setenv("DOVA_DEV_ROOT", root.c_str(), 1);
    WCom port;
    ASSERT_EQ(port.setNo(3), 0);
    EXPECT_EQ(port.claim(0), 0);
    unsetenv("DOVA_DEV_ROOT");
    EXPECT_EQ(port.release(0), 0);
    EXPECT_NE(none.trace().find("DOVA: WCom::claim(3)\nDOVA:  '" + printer.path() + "'="),
              std::string::npos)
        << none.trace();
}

} // namespace
