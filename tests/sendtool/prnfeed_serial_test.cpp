// prnfeed to a serial printer: a pseudo-terminal's slave side is COM1 (named
// in the library's configuration), the test reads what arrives on the
// master side and the line settings prnfeed left on it.
#include "process_runner.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <future>
#include <thread>

using namespace sendtool_test;

namespace {

class PrnfeedSerial : public ::testing::Test {
protected:
    TempDir dir;
    PtyPrinter printer;
    RunOptions options{dir.path()};

    void SetUp() override { configure("COM1=" + printer.path() + "\n"); }
    void configure(const std::string& devices) {
        writeFile(dir / "libdova.conf", "[devices]\n" + devices);
        options.env = {{"LIBDOVA_CONF", (dir / "libdova.conf").string()}};
    }

    // Runs prnfeed while the printer reads everything that arrives.
    RunResult runReading(const std::vector<std::string>& args, size_t expected,
                         std::string* received) {
        auto reader = std::async(std::launch::async,
                                 [this, expected] { return printer.read(expected, 20000); });
        RunResult r = runProgram(PRNFEED_PATH, args, options);
        *received = reader.get();
        EXPECT_FALSE(r.timedOut);
        return r;
    }

    static double childCpuSeconds() {
        rusage u{};
        getrusage(RUSAGE_CHILDREN, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
};

TEST_F(PrnfeedSerial, ScriptAndBinaryFileArriveByteForByteWithTheOptionsInForce) {
    writeFile(dir / "job.txt", "ESC \"@\" \"Table 12\" LF 0 255 CR LF\n");
    std::string got;
    RunResult r = runReading({"-b192", "-d7", "-pE", "-s2", "-fR", "job.txt", "COM1"}, 15, &got);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(got, std::string("\x1b@Table 12\n\x00\xff\r\n", 15));
    PtyLine line = printer.line();
    EXPECT_EQ(line.speed, 19200u);
    EXPECT_TRUE(line.cstopb);
    EXPECT_TRUE(line.crtscts);
    EXPECT_FALSE(line.ixon);

    std::string content(300000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = char(i * 7 % 256);
    writeFile(dir / "logo.bin", content);
    r = runReading({"-o", "-b115200", "-fX", "logo.bin", "COM1"}, content.size(), &got);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(got == content) << got.size();
    line = printer.line();
    EXPECT_EQ(line.speed, 115200u);
    EXPECT_TRUE(line.ixon && line.ixoff);
    EXPECT_FALSE(line.crtscts);
}

TEST_F(PrnfeedSerial, AeaTargetsFrameTheFileOnTheDeviceOfCom1) {
    // 600 bytes, the first a DLE: two blocks of 512 and 88 data bytes.
    std::string content = "\x10";
    for (int i = 1; i < 600; ++i)
        content += char('a' + i % 26);
    writeFile(dir / "ticket.bin", content);
    const std::string first = "\x10\x10" + content.substr(1, 511), second = content.substr(512);
    struct {
        const char* target;
        std::string opening, between, closing;
    } const cases[] = {
        {"ULTRA1", "\x02", "\x03\x02", "\x03"},
        {"RESA1",
         "\x02"
         "0",
         "\x03?\x02"
         "1",
         "\x17?"},
        {"SITA1",
         "\x02"
         "0",
         "\x03??\x02"
         "1",
         "\x03??"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        const size_t total =
            c.opening.size() + first.size() + c.between.size() + second.size() + c.closing.size();
        std::string got;
        RunResult r = runReading({"-o", "ticket.bin", c.target}, total, &got);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        ASSERT_EQ(got.size(), total);
        // The check bytes ('?') are the port's own tests' business.
        std::string expected = c.opening + first + c.between + second + c.closing;
        for (size_t i = 0; i < total; ++i)
            if (expected[i] == '?') got[i] = '?';
        EXPECT_EQ(got, expected);
    }
}

TEST_F(PrnfeedSerial, BadPortNumbersAndMissingDevicesFailTheClaimAtOnce) {
    configure("COM1=" + printer.path() + "\nCOM7=/nonexistent-tty\n");
    writeFile(dir / "job.txt", "65");
    for (const char* target : {"COM0", "COM33", "COM7"}) {
        RunResult r = runProgram(PRNFEED_PATH, {"-b9600", "job.txt", target}, options);
        EXPECT_EQ(r.exitCode, 13) << target;
    }
    EXPECT_EQ(printer.read(1, 0), "") << "nothing reached port 1 instead";
}

TEST_F(PrnfeedSerial, AStalledPrinterEndsTheRunAfterTheDrainBoundWithoutSpinning) {
    // The printer reads nothing: the job fits the port's queue, but only part
    // of it fits the line, so the release gives up after 30 s without progress.
    writeFile(dir / "big.bin", std::string(200000, 'x'));
    options.timeout = std::chrono::seconds(90);
    const double before = childCpuSeconds();
    RunResult r = runProgram(PRNFEED_PATH, {"-o", "big.bin", "COM1"}, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 13);
    EXPECT_LT(childCpuSeconds() - before, 5.0) << "the waits must not spin";
}

} // namespace
