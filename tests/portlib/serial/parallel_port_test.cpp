// Parallel ports (LPT, PRN, and KPLPT of the KP parallel driver) with a
// pseudo-terminal as the printer's node; the status and init requests of the
// printer drivers are played through the seam.
#include "backends/parallel/kplpt.h"
#include "backends/parallel/kplpt_threads.h"
#include "backends/parallel/lpt.h"
#include "backends/parallel/lpt_threads.h"
#include "played_lines.h"
#include "pty_printer.h"

#include <gtest/gtest.h>

#include <linux/lp.h>

#include <dova/dova.h>

#include <string>

namespace {

class ParallelPort : public ::testing::Test {
protected:
    PtyPrinter printer;
    ScopedLibraryFiles files{"[devices]\nLPT1=" + printer.path() + "\n"};
};

TEST_F(ParallelPort, DirectAndQueuedPortsPrint) {
    WLpt direct;
    ASSERT_EQ(direct.claim(0), 0);
    uint32_t written = 0;
    EXPECT_EQ(direct.send("\x1b@A", 3, &written, 0, 0, 0), 0);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(printer.read(3), "\x1b@A");
    EXPECT_EQ(direct.purgeSend(), -1) << "a direct port has no queue";
    EXPECT_EQ(direct.release(0), 0);

    WLptA queued;
    ASSERT_EQ(queued.claim(0), 0);
    EXPECT_EQ(queued.send("ticket", 6, &written, 0, 0, 0), 0);
    EXPECT_EQ(printer.read(6), "ticket");
    EXPECT_EQ(queued.release(5000), 0);
    const std::string trace = files.trace();
    EXPECT_NE(trace.find("DOVA: WLptA::claim(1)\nDOVA:  '" + printer.path() + "'="),
              std::string::npos)
        << trace;
    EXPECT_NE(trace.find("DOVA: WLptA::procRecv() End\n"), std::string::npos);
}

TEST_F(ParallelPort, PurgeEmptiesTheQueueOfAStalledPrinter) {
    WLptA port;
    ASSERT_EQ(port.claim(0), 0);
    // The printer reads nothing: what the line cannot hold stays queued.
    std::string job(200000, 'x');
    uint32_t accepted = 0;
    ASSERT_EQ(port.send(job.data(), uint32_t(job.size()), &accepted, 0, 0, 0), 0);
    EXPECT_EQ(port.purgeSend(), 0);
    uint32_t count = 1;
    ASSERT_EQ(port.getSendCount(&count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.release(30000), 0);
}

TEST_F(ParallelPort, StatusReadinessAndReset) {
    PlayedLines played;
    WLpt port;
    ASSERT_EQ(port.claim(0), 0);
    struct {
        int lp;
        uint8_t status;
        int32_t ready;
    } const cases[] = {
        {LP_PBUSY | LP_PSELECD | LP_PERRORP, 0x80, 1},
        {LP_PBUSY | LP_PSELECD | LP_POUTPA, 0x84, 0}, // paper out
        {LP_PBUSY | LP_PERRORP, 0x08, 0},             // off line
        {LP_PSELECD | LP_PERRORP, 0xC0, 1},           // busy, but selected
    };
    for (const auto& c : cases) {
        played.lpStatus = c.lp;
        uint8_t status = 0;
        EXPECT_EQ(port.getParStatus(&status), 0);
        EXPECT_EQ(status, c.status) << c.lp;
        EXPECT_EQ(port.isReady(), c.ready) << c.lp;
    }
    EXPECT_EQ(port.reset(), 0);
    played.lpResetFails = true;
    EXPECT_EQ(port.reset(), 1105);
    EXPECT_EQ(played.calls(), (std::vector<std::string>{"LPRESET", "LPRESET"}));
    uint16_t r = 0, w = 0;
    EXPECT_EQ(port.get1284Mode(&r, &w), 9999);
    char id[64];
    EXPECT_EQ(port.getDeviceId(id, sizeof id), 9999) << "not a USB printer";
}

TEST_F(ParallelPort, PrnIsLptAndBadNumbersOpenNothing) {
    ASSERT_EQ(DovaStartup(nullptr), 0);
    DOVA_HANDLE h = DovaOpenByName("PRN1", DOVA_MODE_THREADS);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_LPT);
    EXPECT_EQ(DovaClaim(h, 0), 0);
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "P", 1, &written, 0, 0, 0), 0);
    EXPECT_EQ(printer.read(1), "P");
    EXPECT_EQ(DovaRelease(h, 5000), 0);
    EXPECT_EQ(DovaClose(h), 0);
    EXPECT_EQ(DovaOpenByName("LPT1", DOVA_MODE_EVENTS), DOVA_INVALID_HANDLE);
    h = DovaOpenByName("LPT33", DOVA_MODE_THREADS);
    EXPECT_EQ(DovaClaim(h, 0), 1013);
    DovaClose(h);
    EXPECT_EQ(DovaCleanup(), 0);
}

class KpLpt : public ::testing::Test {
protected:
    PtyPrinter own;
    PtyPrinter lpt2;
    ScopedLibraryFiles files{"[devices]\nKPLPT1=" + own.path() + "\nLPT2=" + lpt2.path() + "\n"};
};

TEST_F(KpLpt, OwnKeyThenLptDeviceAndBadNumbers) {
    ASSERT_EQ(DovaStartup(nullptr), 0);
    DOVA_HANDLE h = DovaOpenByName("KPLPT", DOVA_MODE_THREADS);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_KPLPT);
    ASSERT_EQ(DovaClaim(h, 0), 0) << "no digits: port 1";
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "one", 3, &written, 0, 0, 0), 0);
    EXPECT_EQ(own.read(3), "one");
    EXPECT_EQ(DovaRelease(h, 5000), 0);
    DovaClose(h);

    h = DovaOpenByName("KPLPT2", DOVA_MODE_DIRECT);
    ASSERT_EQ(DovaClaim(h, 0), 0) << "no KPLPT2 key: LPT2's device";
    EXPECT_EQ(DovaWrite(h, "two", 3, &written, 0, 0, 0), 0);
    EXPECT_EQ(lpt2.read(3), "two");
    EXPECT_EQ(DovaForce(h, 1), DOVA_E_SYSTEM);
    EXPECT_EQ(DovaRelease(h, 0), 0);
    DovaClose(h);

    for (const char* target : {"KPLPT0", "KPLPT33"}) {
        for (int32_t mode : {DOVA_MODE_DIRECT, DOVA_MODE_THREADS}) {
            h = DovaOpenByName(target, mode);
            ASSERT_NE(h, DOVA_INVALID_HANDLE);
            EXPECT_EQ(DovaClaim(h, 0), DOVA_E_ADDRESS) << target;
            DovaClose(h);
        }
    }
    EXPECT_EQ(DovaCleanup(), 0);
    const std::string trace = files.trace();
    for (const char* line : {"DOVA: WKplptA::claim()\n", "DOVA: WKplptA::procSend() Start\n",
                             "DOVA: WKplptA::release(5000)\n", "DOVA: WKplpt::claim(2)\n",
                             "DOVA: WKplpt::release(0)\n", "DOVA: WKplpt::claim(33)\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
    EXPECT_EQ(trace.find("'/dev/lp32'"), std::string::npos) << "nothing opened for 33";
}

} // namespace
