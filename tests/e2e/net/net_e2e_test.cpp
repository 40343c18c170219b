// prnfeed end to end: a job through the worker-thread TCP port to the test
// printer, and the exit codes when the printer misbehaves.
#include "prnfeed_child.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// prnfeed's exit code; -1 when it did not start, died or hung past the limit.
int runPrnfeed(const std::vector<std::string>& args, int limitSeconds) {
    return e2e_test::runPrnfeedChild(PRNFEED, args, {}, limitSeconds);
}

std::string tempFile(const std::vector<uint8_t>& content) {
    char name[] = "/tmp/prnfeed-e2e-XXXXXX";
    int fd = ::mkstemp(name);
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    ::close(fd);
    return name;
}

std::vector<uint8_t> randomBytes(size_t n) {
    std::mt19937 gen(42);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = uint8_t(gen());
    return v;
}

std::string target(const testprinter::TestPrinter& printer) {
    return "127.0.0.1:" + std::to_string(printer.tcpPort());
}

testprinter::Options printerOnAnyPort() {
    testprinter::Options o;
    o.port = 0;
    o.keepInMemory = true;
    return o;
}

TEST(PrnfeedToNetworkPrinter, ScriptArrivesByteForByte) {
    testprinter::TestPrinter printer(printerOnAnyPort());
    ASSERT_TRUE(printer.start(nullptr));
    std::string script = "ESC \"@\" \"Table 12: waiter please\" CR LF\n"
                         "GS \"V\" 1 0x1B $40 300\n";
    std::string file = tempFile(std::vector<uint8_t>(script.begin(), script.end()));
    int exitCode = runPrnfeed({file, target(printer)}, 60);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 0);
    std::string expected = "\x1b@Table 12: waiter please\r\n\x1dV\x01\x1b\x40\x2c\x01";
    auto got = printer.received();
    EXPECT_EQ(std::string(got.begin(), got.end()), expected);
}

TEST(PrnfeedToNetworkPrinter, BinaryFileArrivesByteForByte) {
    testprinter::TestPrinter printer(printerOnAnyPort());
    ASSERT_TRUE(printer.start(nullptr));
    auto data = randomBytes(3 << 20); // many ring fills
    std::string file = tempFile(data);
    int exitCode = runPrnfeed({"-o", file, target(printer)}, 60);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(printer.received(), data);
    EXPECT_TRUE(printer.waitConnectionsEnded(1, 10000)) << "prnfeed closed the connection";
}

TEST(PrnfeedToNetworkPrinter, PrinterDroppingTheConnectionFailsTheRelease) {
    testprinter::Options o = printerOnAnyPort();
    o.closeAfter = 1000;
    testprinter::TestPrinter printer(o);
    ASSERT_TRUE(printer.start(nullptr));
    std::string file = tempFile(randomBytes(100000));
    int exitCode = runPrnfeed({"-o", file, target(printer)}, 60);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 13);
}

TEST(PrnfeedToNetworkPrinter, StalledPrinterFailsTheReleaseAfterTheDrainTime) {
    // Paper out: the printer takes 1000 bytes, then nothing, and keeps the
    // connection. prnfeed gives up after 30 s without progress.
    testprinter::Options o = printerOnAnyPort();
    o.stallAfter = 1000;
    o.neverClose = true;
    o.receiveBuffer = 4096;
    testprinter::TestPrinter printer(o);
    ASSERT_TRUE(printer.start(nullptr));
    std::string file = tempFile(randomBytes(200000));
    int exitCode = runPrnfeed({"-o", file, target(printer)}, 90);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 13) << "-1: prnfeed hung on a stalled printer, or died";
}

TEST(PrnfeedToNetworkPrinter, AScriptCutShortByAStalledPrinterFails) {
    // With a wait after the job the port is let go at once and the release
    // itself succeeds: only the dropped rest of the script can fail the job.
    testprinter::Options o = printerOnAnyPort();
    o.stallAfter = 1000;
    o.neverClose = true;
    o.receiveBuffer = 4096;
    testprinter::TestPrinter printer(o);
    ASSERT_TRUE(printer.start(nullptr));
    std::string script;
    for (int i = 0; i < 20000; ++i)
        script += "\"" + std::string(1000, 'x') + "\"\n";
    script += "ESC 105\n";
    std::string file = tempFile(std::vector<uint8_t>(script.begin(), script.end()));
    int exitCode = runPrnfeed({"-w1", file, target(printer)}, 90);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 13) << "-1: prnfeed hung on a stalled printer, or died";
}

TEST(PrnfeedToNetworkPrinter, NoPrinterListeningFailsTheClaim) {
    testprinter::TestPrinter printer(printerOnAnyPort());
    ASSERT_TRUE(printer.start(nullptr));
    std::string where = target(printer);
    printer.stop(); // nothing listens on that port any more
    std::string file = tempFile({'A'});
    int exitCode = runPrnfeed({file, where}, 60);
    std::remove(file.c_str());
    EXPECT_EQ(exitCode, 13);
}

} // namespace
