// AEA ticket printers over a pseudo-terminal: the test reads the frames each
// dialect puts on the line and plays the printer's blocks back.
#include "backends/serial/aea.h"
#include "played_lines.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kStx = "\x02", kEtx = "\x03", kEtb = "\x17", kDle = "\x10";

// Plain data without control characters, so block sizes are what they seem.
std::string letters(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += char('a' + i % 26);
    return s;
}

uint8_t xorOf(const std::string& s) {
    uint8_t x = 0;
    for (char c : s)
        x ^= uint8_t(c);
    return x;
}

class AeaPort : public ::testing::Test {
protected:
    PtyPrinter printer;
    ScopedLibraryFiles files{"[devices]\nCOM1=" + printer.path() + "\n"};
    WAea port;

    void claim(int32_t dialect) {
        ASSERT_EQ(port.setCh(dialect), 0);
        ASSERT_EQ(port.claim(0), 0);
    }
    // Sends and reads exactly the bytes the frames should take.
    std::string sendAndRead(const std::string& data, size_t frameBytes) {
        uint32_t written = 0;
        EXPECT_EQ(port.send(data.data(), uint32_t(data.size()), &written, 0, 0, 0), 0);
        EXPECT_EQ(written, data.size());
        std::string got = printer.read(frameBytes);
        EXPECT_EQ(got.size(), frameBytes);
        EXPECT_EQ(printer.read(1, 50), "") << "no more than the frames";
        return got;
    }
};

TEST_F(AeaPort, ClaimSetsTheLinkDefaults) {
    PlayedLines played;
    claim(0);
    PtyLine line = printer.line();
    EXPECT_EQ(line.speed, 9600u);
    EXPECT_FALSE(line.crtscts) << "output is not held for CTS";
    EXPECT_FALSE(line.ixon || line.ixoff);
    EXPECT_EQ(played.lines.load() & (TIOCM_DTR | TIOCM_RTS), TIOCM_DTR | TIOCM_RTS);
    DovaCommTimeouts t;
    ASSERT_EQ(port.getCommTimeouts(&t), 0);
    EXPECT_EQ(t.readIntervalTimeout, 0u);
    EXPECT_EQ(t.readTotalTimeoutConstant, 500u);
    EXPECT_EQ(t.writeTotalTimeoutConstant, 500u);
    int32_t ch = -1;
    port.getCh(&ch);
    EXPECT_EQ(ch, 0);
    EXPECT_EQ(port.release(1000), 0);
    EXPECT_NE(files.trace().find("DOVA: WAea::claim()\nDOVA:  '" + printer.path() + "'="),
              std::string::npos)
        << files.trace();
    EXPECT_NE(files.trace().find("DOVA: WAea::release(1000)\n"), std::string::npos);
}

TEST_F(AeaPort, SmallBlocksByteForByteInEveryDialect) {
    // "A" and a DLE: the DLE goes out doubled, the check bytes as they are.
    const std::string data = "A\x10";
    struct {
        int32_t dialect;
        std::string first, second;
    } const cases[] = {
        {0, "\x02\x41\x10\x10\x03", "\x02\x41\x10\x10\x03"},
        // BCC = '0' ^ 'A' ^ DLE ^ ETB; the next send carries '1'.
        {1, "\x02\x30\x41\x10\x10\x17\x76", "\x02\x31\x41\x10\x10\x17\x77"},
        {2, "\x02\x30\x41\x10\x10\x03\x61\x5d", "\x02\x31\x41\x10\x10\x03\x60\x7d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dialect);
        claim(c.dialect);
        EXPECT_EQ(sendAndRead(data, c.first.size()), c.first);
        EXPECT_EQ(sendAndRead(data, c.second.size()), c.second);
        // A new claim starts the sequence again.
        claim(c.dialect);
        EXPECT_EQ(sendAndRead(data, c.first.size()), c.first);
        EXPECT_EQ(port.release(1000), 0);
    }
}

TEST_F(AeaPort, LongSendsAreCutInto512ByteBlocks) {
    // Each block as the dialect frames it, its check bytes masked as '?'
    // and checked by their XOR: BCC over sequence, data and terminator, LRC
    // over sequence and data, each XORs to 0 with what it covers.
    struct {
        int32_t dialect;
        size_t length;
    } const cases[] = {{0, 1000}, {0, 600}, {1, 1000}, {1, 600}, {2, 1000}, {2, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dialect) + "/" + std::to_string(c.length));
        claim(c.dialect);
        const std::string data = letters(c.length);
        std::string expected;
        std::vector<std::pair<size_t, size_t>> covered; // XOR-to-0 ranges
        for (size_t at = 0, block = 0; at < data.size(); at += 512, ++block) {
            const std::string part = data.substr(at, 512);
            const bool last = at + 512 >= data.size();
            const std::string seq(1, char('0' + block % 2));
            const size_t start = expected.size() + 1;
            if (c.dialect == 0) {
                expected += kStx + part + kEtx;
            } else if (c.dialect == 1) {
                expected += kStx + seq + part + (last ? kEtb : kEtx) + "?";
                covered.push_back({start, expected.size() - start});
            } else {
                expected += kStx + seq + part + kEtx + "??";
                covered.push_back({start, part.size() + 1});
            }
        }
        std::string got = sendAndRead(data, expected.size());
        for (auto [from, n] : covered) {
            std::string range = got.substr(from, n);
            if (c.dialect == 2) range += got[from + n + 1]; // the LRC after the ETX
            EXPECT_EQ(xorOf(range), 0) << "block at " << from;
        }
        for (size_t i = 0; i < expected.size() && i < got.size(); ++i)
            if (expected[i] == '?') got[i] = '?';
        EXPECT_EQ(got, expected);
    }
    EXPECT_EQ(port.release(1000), 0);
}

TEST_F(AeaPort, EveryControlCharacterIsEscapedInsideABlock) {
    const std::string controls("\x02\x03\x06\x10\x15\x17", 6);
    std::string escaped;
    for (char c : controls)
        escaped += kDle + c;
    claim(0);
    EXPECT_EQ(sendAndRead(controls + "x", 15), kStx + escaped + "x" + kEtx);
    // 512 DLEs double to 1024 bytes in one block.
    claim(0);
    EXPECT_EQ(sendAndRead(std::string(512, '\x10'), 1026), kStx + std::string(1024, '\x10') + kEtx);
}

TEST_F(AeaPort, UltraReceiveTakesOneUnescapedBlock) {
    claim(0);
    char buf[16];
    uint32_t n = 99;
    ASSERT_TRUE(printer.write("\x02"
                              "ab\x10\x03"
                              "c\x03"
                              "junk"));
    ASSERT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "ab\x03"
                                   "c");

    // A small buffer takes what fits; the rest comes with the next recv.
    ASSERT_TRUE(printer.write("\x02"
                              "hello\x03"));
    ASSERT_EQ(port.recv(buf, 3, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "hel");
    ASSERT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "lo");

    for (const char* bad : {"no stx\x03", "\x02no etx",
                            "\x02"
                            "escaped end\x10\x03"}) {
        SCOPED_TRACE(bad);
        ASSERT_TRUE(printer.write(bad));
        EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 1102);
        EXPECT_EQ(n, 0u);
    }
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 1102) << "nothing arrived";
}

TEST_F(AeaPort, ResaAndSitaReceiveWhatArrives) {
    for (int32_t dialect : {1, 2}) {
        claim(dialect);
        ASSERT_TRUE(printer.write("\x06"));
        char buf[8];
        uint32_t n = 0;
        ASSERT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
        EXPECT_EQ(std::string(buf, n), "\x06");
    }
}

TEST_F(AeaPort, UnknownDialectsAndAClosedPortRefuse) {
    uint32_t n = 7;
    char buf[4];
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), 1101);
    EXPECT_EQ(n, 0u);
    claim(3);
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), 1101);
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 1102);
    EXPECT_EQ(printer.read(1, 50), "");
}

TEST_F(AeaPort, ABlockThatCannotLeaveEndsTheSendAndSaysSo) {
    // The printer reads nothing: once the line is full, a block gets three
    // attempts, and the send stops there instead of going on with a hole.
    claim(0);
    const std::string job = letters(512 * 400);
    uint32_t written = 0;
    EXPECT_EQ(port.send(job.data(), uint32_t(job.size()), &written, 0, 0, 0), 1101);
    EXPECT_LT(written, job.size());
    EXPECT_EQ(written % 512, 0u) << "whole blocks went out";
    EXPECT_EQ(port.release(0), 0);
    EXPECT_NE(files.trace().find("not sent\n"), std::string::npos);
}

} // namespace
