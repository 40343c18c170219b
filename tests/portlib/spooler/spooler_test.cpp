// The spooler port against a private CUPS scheduler with two raw queues,
// "kitchen" and "Receipt", whose devices are two test printers on loopback.
#include "private_cupsd.h"
#include "test_printer.h"

#include "dova_base.h"
#include "handle_table.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using spooler_test::PrivateCupsd;
using testprinter::TestPrinter;

class SpoolerTest : public ::testing::Test {
protected:
    static inline std::unique_ptr<PrivateCupsd> cupsd;
    static inline std::unique_ptr<TestPrinter> kitchen;
    static inline std::unique_ptr<TestPrinter> receipt;
    static inline std::string setupError;

    static std::unique_ptr<TestPrinter> startPrinter() {
        testprinter::Options o;
        o.port = 0;
        o.keepInMemory = true;
        auto printer = std::make_unique<TestPrinter>(o);
        if (!printer->start(&setupError)) return nullptr;
        return printer;
    }
    static std::string device(const TestPrinter& printer) {
        return "socket://127.0.0.1:" + std::to_string(printer.tcpPort());
    }

    static void SetUpTestSuite() {
        kitchen = startPrinter();
        receipt = startPrinter();
        if (!kitchen || !receipt) return;
        cupsd = std::make_unique<PrivateCupsd>();
        if (!cupsd->start(&setupError) ||
            !cupsd->addRawQueue("kitchen", device(*kitchen), &setupError) ||
            !cupsd->addRawQueue("Receipt", device(*receipt), &setupError))
            cupsd.reset();
    }
    static void TearDownTestSuite() {
        cupsd.reset();
        kitchen.reset();
        receipt.reset();
    }

    std::filesystem::path trace;

    void SetUp() override {
        ASSERT_TRUE(cupsd) << setupError;
        ASSERT_TRUE(cupsd->setDefault("Receipt", &setupError)) << setupError;
        trace = std::filesystem::path(cupsd->folder()) / "trace.txt";
        std::filesystem::remove(trace);
        ::setenv("DOVA_TRACE", trace.c_str(), 1);
        ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    }
    void TearDown() override {
        DovaCleanup();
        ::unsetenv("DOVA_TRACE");
        ::unsetenv("LPDEST");
    }

    std::string traceText() const {
        std::ifstream in(trace);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static DovaBase* port(DOVA_HANDLE h) { return dovaHandleFind(h); }
    static std::string printerName(DOVA_HANDLE h) {
        char name[260] = "?";
        port(h)->getName(name);
        return name;
    }
    // Waits until the printer holds `before` plus `expected` bytes and
    // returns what came after `before`.
    static std::vector<uint8_t> arrived(TestPrinter& printer, size_t before, size_t expected) {
        printer.waitBytes(before + expected, 20000);
        auto all = printer.received();
        return std::vector<uint8_t>(all.begin() + long(std::min(before, all.size())), all.end());
    }
};

TEST_F(SpoolerTest, TargetsPickTheDefaultOrTheNthQueueInNameOrder) {
    // "kitchen" sorts before "Receipt" only when case is ignored.
    struct Row {
        const char* target;
        int32_t claim;
        const char* printer;
    } rows[] = {
        {"SPOOLER", DOVA_OK, "Receipt"},  {"SPOOLER0", DOVA_OK, "Receipt"},
        {"SPOOLER1", DOVA_OK, "kitchen"}, {"spooler2", DOVA_OK, "Receipt"},
        {"SPOOLER3", DOVA_E_OPEN, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        DOVA_HANDLE h = DovaOpenByName(row.target, DOVA_MODE_THREADS);
        ASSERT_NE(h, DOVA_INVALID_HANDLE);
        EXPECT_EQ(DovaGetIFType(h), DOVA_IF_SPOOLER);
        EXPECT_EQ(DovaClaim(h, 0), row.claim);
        EXPECT_EQ(printerName(h), row.printer);
        EXPECT_EQ(port(h)->isOpen(), row.claim == DOVA_OK ? 1 : 0);
        EXPECT_EQ(DovaClose(h), DOVA_OK);
    }
    EXPECT_NE(traceText().find("DOVA:  'kitchen'=1\n"), std::string::npos);
    EXPECT_NE(traceText().find("DOVA:  ''=0\n"), std::string::npos);
}

TEST_F(SpoolerTest, JobOnTheDefaultPrinterIsNamedLibdovaAndArrivesWhole) {
    const std::string data = "\x1b@Table 12: waiter please\r\n\x1dV\x01";
    size_t before = receipt->received().size();
    DOVA_HANDLE h = DovaOpenByName("SPOOLER", DOVA_MODE_THREADS);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    ASSERT_EQ(DovaLock(h, 0), DOVA_OK);
    for (char c : data) { // as the send tool does it
        uint32_t written = 0;
        ASSERT_EQ(DovaWrite(h, &c, 1, &written, 0, 0, 0), DOVA_OK);
        ASSERT_EQ(written, 1u);
    }
    EXPECT_EQ(DovaUnlock(h, 0), DOVA_OK);
    EXPECT_EQ(DovaRelease(h, 30000), DOVA_OK);
    EXPECT_EQ(DovaClose(h), DOVA_OK);

    auto got = arrived(*receipt, before, data.size());
    EXPECT_EQ(std::string(got.begin(), got.end()), data);
    auto jobs = cupsd->jobs("Receipt");
    ASSERT_FALSE(jobs.empty());
    EXPECT_EQ(jobs.back().title, "LIBDOVA");
    EXPECT_TRUE(cupsd->waitJobCompleted("Receipt", jobs.back().id, 20000));
    const std::string lines = traceText();
    for (const char* line :
         {"DOVA: WSpooler::claim()\n", "DOVA:  'Receipt'=1\n", "DOVA: WSpooler::startDocPrinter\n",
          "DOVA: WSpooler::startPagePrinter\n", "DOVA: WritePrinter(1, 1)=1\n",
          "DOVA: WSpooler::endPagePrinter\n", "DOVA: WSpooler::endDocPrinter\n",
          "DOVA: WSpooler::release(30000)\n"})
        EXPECT_NE(lines.find(line), std::string::npos) << line;
}

TEST_F(SpoolerTest, DataOutsideADocumentFailsAndReadingNeverWaits) {
    DOVA_HANDLE h = DovaOpenByName("SPOOLER", DOVA_MODE_THREADS);
    uint32_t written = 7;
    EXPECT_EQ(DovaWrite(h, "abc", 3, &written, 0, 0, 0), DOVA_E_WRITE); // not even claimed
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(DovaWrite(h, "abc", 3, &written, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(written, 0u);
    uint8_t buffer[16];
    uint32_t read = 5;
    EXPECT_EQ(DovaRead(h, buffer, sizeof buffer, &read, 0), DOVA_E_READ);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(DovaUnlock(h, 0), DOVA_E_SYSTEM); // nothing to end
    ASSERT_EQ(DovaLock(h, 0), DOVA_OK);
    EXPECT_EQ(DovaUnlock(h, 0), DOVA_OK);
    EXPECT_EQ(DovaWrite(h, "abc", 3, &written, 0, 0, 0), DOVA_E_WRITE); // after the document
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    const std::string lines = traceText();
    EXPECT_NE(lines.find("DOVA: WritePrinter(3, 0)=0\n"), std::string::npos);
    EXPECT_NE(lines.find("DOVA: ReadPrinter(16, 0)=0\n"), std::string::npos);
}

TEST_F(SpoolerTest, ReleaseAfterLockWithoutUnlockStillPrintsTheWholeJob) {
    // Byte by byte over several gathering chunks, then one large block.
    std::mt19937 gen(7);
    std::vector<uint8_t> data(300000);
    for (auto& b : data)
        b = uint8_t(gen());
    size_t before = kitchen->received().size();
    ::unsetenv("DOVA_TRACE"); // a line per byte would only slow this down
    DovaCleanup();
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    DOVA_HANDLE h = DovaOpenByName("SPOOLER1", DOVA_MODE_THREADS);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    ASSERT_EQ(DovaLock(h, 0), DOVA_OK);
    uint32_t written = 0;
    for (size_t i = 0; i < 150000; ++i)
        ASSERT_EQ(DovaWrite(h, &data[i], 1, &written, 0, 0, 0), DOVA_OK);
    ASSERT_EQ(DovaWrite(h, &data[150000], 150000, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 150000u);
    EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
    EXPECT_EQ(port(h)->isOpen(), 0);
    EXPECT_EQ(DovaClose(h), DOVA_OK);

    EXPECT_EQ(arrived(*kitchen, before, data.size()), data);
    auto jobs = cupsd->jobs("kitchen");
    ASSERT_FALSE(jobs.empty());
    EXPECT_EQ(jobs.back().title, "LIBDOVA");
    EXPECT_TRUE(cupsd->waitJobCompleted("kitchen", jobs.back().id, 20000));
}

TEST_F(SpoolerTest, QueueRefusingJobsFailsWithWhatTheSchedulerSaid) {
    std::string error;
    ASSERT_TRUE(cupsd->setAccepting("kitchen", false, &error)) << error;
    DOVA_HANDLE h = DovaOpenByName("SPOOLER1", DOVA_MODE_THREADS);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_OPEN);
    EXPECT_NE(traceText().find("'kitchen' is not accepting jobs"), std::string::npos);

    // Refused between claim and lock: the job is not started.
    ASSERT_TRUE(cupsd->setAccepting("kitchen", true, &error)) << error;
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    ASSERT_TRUE(cupsd->setAccepting("kitchen", false, &error)) << error;
    size_t jobsBefore = cupsd->jobs("kitchen").size();
    EXPECT_EQ(DovaLock(h, 0), DOVA_E_SYSTEM);
    EXPECT_NE(traceText().find("the scheduler refused the job"), std::string::npos);
    EXPECT_EQ(cupsd->jobs("kitchen").size(), jobsBefore);
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    ASSERT_TRUE(cupsd->setAccepting("kitchen", true, &error)) << error;
}

TEST_F(SpoolerTest, DefaultPrinterComesFromTheUserBeforeTheScheduler) {
    std::string error;
    ASSERT_TRUE(cupsd->clearDefault(&error)) << error;
    DOVA_HANDLE h = DovaOpenByName("SPOOLER", DOVA_MODE_THREADS);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_OPEN);
    EXPECT_NE(traceText().find("no default printer"), std::string::npos);
    EXPECT_EQ(DovaClose(h), DOVA_OK);

    ::setenv("LPDEST", "kitchen", 1);
    ASSERT_TRUE(cupsd->setDefault("Receipt", &error)) << error;
    h = DovaOpenByName("SPOOLER", DOVA_MODE_THREADS);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(printerName(h), "kitchen");
    EXPECT_EQ(DovaClose(h), DOVA_OK);
}

TEST_F(SpoolerTest, PrinterChosenAtClaimIsKeptUntilTheNumberChanges) {
    std::string error;
    DOVA_HANDLE h = DovaOpenByName("SPOOLER", DOVA_MODE_DIRECT);
    DovaBase* p = port(h);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(p->setNo(1), DOVA_E_SYSTEM); // not while open
    ASSERT_TRUE(cupsd->setDefault("kitchen", &error)) << error;
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(printerName(h), "Receipt");
    EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);
    EXPECT_EQ(p->setNo(0), DOVA_OK);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(printerName(h), "kitchen");
    EXPECT_EQ(DovaRelease(h, 0), DOVA_OK);

    EXPECT_EQ(p->setNo(-1), DOVA_OK);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_ADDRESS);
    EXPECT_EQ(p->setName("Receipt"), DOVA_OK); // a name is used as it stands
    EXPECT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_EQ(p->setName("nosuch"), DOVA_OK);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_OPEN);
    EXPECT_EQ(p->isOpen(), 0);
    EXPECT_NE(traceText().find("printer 'nosuch': "), std::string::npos);
    EXPECT_EQ(p->setName(std::string(300, 'R').c_str()), DOVA_E_PARAM); // never cut
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_OPEN);
    EXPECT_EQ(DovaClose(h), DOVA_OK);
}

TEST_F(SpoolerTest, DocumentInformationNamesTheJobAndOnlyRawDataIsTaken) {
    size_t before = receipt->received().size();
    DOVA_HANDLE h = DovaOpenByName("SPOOLER2", DOVA_MODE_THREADS);
    DovaBase* p = port(h);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    DovaDocInfo1 text{"Table 7", nullptr, "TEXT"};
    EXPECT_EQ(p->startDocPrinter(1, &text), 0);
    DovaDocInfo1 raw{"Table 7", nullptr, "raw"};
    int32_t job = p->startDocPrinter(1, &raw);
    ASSERT_GT(job, 0);
    EXPECT_EQ(p->startDocPrinter(1, &raw), 0); // one document at a time
    uint32_t written = 0;
    EXPECT_EQ(p->send("T7\n", 3, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(p->endDocPrinter(), DOVA_OK);
    EXPECT_EQ(p->endDocPrinter(), DOVA_E_SYSTEM);
    uint32_t needed = 1;
    EXPECT_EQ(p->getJob(uint32_t(job), 1, nullptr, 0, &needed), DOVA_E_SYSTEM);
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    auto got = arrived(*receipt, before, 3);
    EXPECT_EQ(std::string(got.begin(), got.end()), "T7\n");
    auto jobs = cupsd->jobs("Receipt");
    ASSERT_FALSE(jobs.empty());
    EXPECT_EQ(jobs.back().id, job);
    EXPECT_EQ(jobs.back().title, "Table 7");
}

TEST_F(SpoolerTest, StoppedPrinterKeepsTheJobUntilItIsStartedAgain) {
    std::string error;
    ASSERT_TRUE(cupsd->setStopped("kitchen", true, &error)) << error;
    size_t before = kitchen->received().size();
    DOVA_HANDLE h = DovaOpenByName("SPOOLER1", DOVA_MODE_THREADS);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_NE(traceText().find("'kitchen' is stopped"), std::string::npos);
    ASSERT_EQ(DovaLock(h, 0), DOVA_OK);
    uint32_t written = 0;
    ASSERT_EQ(DovaWrite(h, "held\n", 5, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(DovaUnlock(h, 0), DOVA_OK); // accepted, as lp would report
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    auto jobs = cupsd->jobs("kitchen");
    ASSERT_FALSE(jobs.empty());
    EXPECT_FALSE(cupsd->waitJobCompleted("kitchen", jobs.back().id, 300));
    ASSERT_TRUE(cupsd->setStopped("kitchen", false, &error)) << error;
    auto got = arrived(*kitchen, before, 5);
    EXPECT_EQ(std::string(got.begin(), got.end()), "held\n");
}

} // namespace
