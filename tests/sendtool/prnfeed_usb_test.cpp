// prnfeed to USB printers: a device tree laid out as Linux lays out usblp
// printers (DOVA_SYSFS_ROOT, DOVA_DEV_ROOT), with pseudo-terminals as the
// printers' nodes; the test reads what arrives on their other sides.
#include "fake_usb_tree.h"
#include "process_runner.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <future>

using namespace sendtool_test;

namespace {

class PrnfeedUsb : public ::testing::Test {
protected:
    TempDir dir;
    FakeUsbTree tree;
    RunOptions options{dir.path()};

    void SetUp() override {
        tree.plugPrinter(3, 0x04b8, 0x0202);
        tree.plugPrinter(12, 0x0519, 0x0001);
        writeFile(dir / "libdova.conf", "");
        options.env = {{"LIBDOVA_CONF", (dir / "libdova.conf").string()},
                       {"DOVA_SYSFS_ROOT", tree.sysRoot()},
                       {"DOVA_DEV_ROOT", tree.devRoot()}};
    }

    static double childCpuSeconds() {
        rusage u{};
        getrusage(RUSAGE_CHILDREN, &u);
        return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
};

TEST_F(PrnfeedUsb, JobsReachTheFirstAndTheSecondPrinter) {
    writeFile(dir / "job.txt", "ESC \"@\" \"Table 12\" LF 0 255 CR LF\n");
    const std::string expected("\x1b@Table 12\n\x00\xff\r\n", 15);
    for (int lp : {3, 12}) {
        const std::string target = lp == 3 ? "USBPRN0" : "USBPRN1";
        auto reader = std::async(std::launch::async, [&] { return tree.read(lp, 15, 20000); });
        RunResult r = runProgram(PRNFEED_PATH, {"job.txt", target}, options);
        EXPECT_EQ(r.exitCode, 0) << target << r.err;
        EXPECT_EQ(reader.get(), expected) << target;
    }
    std::string content(300000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = char(i * 7 % 256);
    writeFile(dir / "logo.bin", content);
    auto reader =
        std::async(std::launch::async, [&] { return tree.read(12, content.size(), 20000); });
    RunResult r = runProgram(PRNFEED_PATH, {"-o", "logo.bin", "USBPRN1"}, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(reader.get() == content);
    EXPECT_EQ(tree.read(3, 1, 0), "") << "nothing went to the other printer";

    RunResult missing = runProgram(PRNFEED_PATH, {"job.txt", "USBPRN2"}, options);
    EXPECT_EQ(missing.exitCode, 13) << "no third printer: the claim fails";
}

TEST_F(PrnfeedUsb, APrinterThatStopsTakingDataEndsAfterTheDrainBoundWithoutSpinning) {
    writeFile(dir / "big.bin", std::string(200000, 'x'));
    options.timeout = std::chrono::seconds(90);
    const double before = childCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    RunResult r = runProgram(PRNFEED_PATH, {"-o", "big.bin", "USBPRN0"}, options);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 13);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(75));
    EXPECT_LT(childCpuSeconds() - before, 5.0) << "the waits must not spin";
}

TEST_F(PrnfeedUsb, AnUnpluggedPrinterEndsTheJobAtOnce) {
    writeFile(dir / "big.bin", std::string(200000, 'x'));
    options.timeout = std::chrono::seconds(60);
    const double before = childCpuSeconds();
    auto run = std::async(std::launch::async, [&] {
        return runProgram(PRNFEED_PATH, {"-o", "big.bin", "USBPRN0"}, options);
    });
    // The printer takes a part of the job, then is pulled out.
    EXPECT_GE(tree.read(3, 1000, 20000).size(), 1000u);
    const auto start = std::chrono::steady_clock::now();
    tree.unplug(3);
    RunResult r = run.get();
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 13) << r.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10))
        << "not the 30 s of a stalled printer";
    EXPECT_LT(childCpuSeconds() - before, 5.0);
}

} // namespace
