// prnfeed end to end through the spooler: a private cupsd with the raw queue
// "Receipt" (the default) in front of the test printer.
#include "private_cupsd.h"
#include "test_printer.h"

#include "prnfeed_child.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using spooler_test::PrivateCupsd;

int runPrnfeed(const std::vector<std::string>& args) {
    return e2e_test::runPrnfeedChild(PRNFEED, args);
}

class PrnfeedToSpooler : public ::testing::Test {
protected:
    static inline std::unique_ptr<PrivateCupsd> cupsd;
    static inline std::unique_ptr<testprinter::TestPrinter> printer;
    static inline std::string setupError;

    static void SetUpTestSuite() {
        testprinter::Options o;
        o.port = 0;
        o.keepInMemory = true;
        printer = std::make_unique<testprinter::TestPrinter>(o);
        if (!printer->start(&setupError)) return;
        cupsd = std::make_unique<PrivateCupsd>();
        const std::string device = "socket://127.0.0.1:" + std::to_string(printer->tcpPort());
        if (!cupsd->start(&setupError) || !cupsd->addRawQueue("Receipt", device, &setupError) ||
            !cupsd->setDefault("Receipt", &setupError))
            cupsd.reset();
    }
    static void TearDownTestSuite() {
        cupsd.reset();
        printer.reset();
    }
    void SetUp() override { ASSERT_TRUE(cupsd) << setupError; }

    std::string file(const std::string& name, const std::string& bytes) {
        std::string path = cupsd->folder() + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }
    std::string arrived(size_t before, size_t expected) {
        printer->waitBytes(before + expected, 30000);
        auto all = printer->received();
        return std::string(all.begin() + long(before), all.end());
    }
};

TEST_F(PrnfeedToSpooler, ScriptAndBinaryFileArriveByteForByte) {
    const std::string script = "ESC \"@\" \"Table 12: waiter please\" CR LF\n"
                               "GS \"V\" 1 0x1B $40 300\n";
    size_t before = printer->received().size();
    EXPECT_EQ(runPrnfeed({file("job.txt", script), "SPOOLER"}), 0);
    static const char expected[] = "\x1b@Table 12: waiter please\r\n\x1dV\x01\x1b\x40\x2c\x01";
    EXPECT_EQ(arrived(before, sizeof expected - 1), std::string(expected, sizeof expected - 1));

    std::mt19937 gen(16);
    std::string data(1 << 20, '\0');
    for (auto& c : data)
        c = char(gen());
    before = printer->received().size();
    EXPECT_EQ(runPrnfeed({"-o", file("logo.bin", data), "SPOOLER1"}), 0);
    EXPECT_TRUE(arrived(before, data.size()) == data);
    auto jobs = cupsd->jobs("Receipt");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].title, "LIBDOVA");
    EXPECT_EQ(jobs[1].title, "LIBDOVA");
}

TEST_F(PrnfeedToSpooler, MissingOrRefusingQueueFailsTheClaim) {
    EXPECT_EQ(runPrnfeed({file("job.txt", "\"x\"\n"), "SPOOLER2"}), 13);
    std::string error;
    ASSERT_TRUE(cupsd->setAccepting("Receipt", false, &error)) << error;
    EXPECT_EQ(runPrnfeed({file("job.txt", "\"x\"\n"), "SPOOLER"}), 13);
    ASSERT_TRUE(cupsd->setAccepting("Receipt", true, &error)) << error;
}

} // namespace
