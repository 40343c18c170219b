#include "library_fixture.h"

#include <set>

namespace {

using Api = LibraryTest;

TEST_F(Api, VersionAndRepeatedStartup) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    EXPECT_EQ(DovaVersion(), 0x20140410u);
    EXPECT_EQ(DovaStartup(nullptr), DOVA_OK);
    EXPECT_EQ(DovaCleanup(), DOVA_OK);
}

TEST_F(Api, UnknownHandleAnswers1001AndWritesBothTraceLines) {
    startWithLog("0x10");
    const DOVA_HANDLE h = 0x1234;
    uint32_t count = 77;
    char buf[4];
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_HANDLE);
    EXPECT_EQ(DovaRelease(h, 30000), DOVA_E_HANDLE);
    EXPECT_EQ(DovaLock(h, 0), DOVA_E_HANDLE);
    EXPECT_EQ(DovaUnlock(h, 0), DOVA_E_HANDLE);
    EXPECT_EQ(DovaForce(h, 1), DOVA_E_HANDLE);
    EXPECT_EQ(DovaSetBaudRate(h, 9600), DOVA_E_HANDLE);
    EXPECT_EQ(DovaWrite(h, "x", 1, &count, 0, 0, 0), DOVA_E_HANDLE);
    EXPECT_EQ(count, 77u); // left as the caller set it
    EXPECT_EQ(DovaRead(h, buf, sizeof buf, &count, 0), DOVA_E_HANDLE);
    EXPECT_EQ(count, 77u);
    EXPECT_EQ(DovaClose(h), DOVA_E_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), 3u);
    DovaCleanup();
    std::string log = readFile(logPath());
    EXPECT_NE(log.find(">DovaClaim dwTimeout=0\n<DovaClaim 1001\n"), std::string::npos) << log;
    EXPECT_NE(log.find(">DovaRelease dwTimeout=30000\n<DovaRelease 1001\n"), std::string::npos);
    EXPECT_NE(log.find(">DovaForce f=1\n<DovaForce 1001\n"), std::string::npos);
    EXPECT_NE(log.find(">DovaSetBaudRate n=9600\n<DovaSetBaudRate 1001\n"), std::string::npos);
    EXPECT_NE(log.find(">DovaClose\n<DovaClose 1001\n"), std::string::npos);
    EXPECT_NE(log.find(">DovaGetIFType\n<DovaGetIFType 00000003\n"), std::string::npos);
    EXPECT_NE(log.find(">DovaCleanup\n<DovaCleanup 0\n"), std::string::npos);
    // Write and read have no trace lines of their own.
    EXPECT_EQ(log.find("DovaWrite"), std::string::npos);
}

TEST_F(Api, ClosedHandleIsNoLongerOpen) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    DOVA_HANDLE h = DovaOpenByName("DUMP", DOVA_MODE_THREADS);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_CON); // the dump port answers with the console's code
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    EXPECT_EQ(DovaClose(h), DOVA_E_HANDLE);
    EXPECT_EQ(DovaClaim(h, 0), DOVA_E_HANDLE);
}

TEST_F(Api, HandlesAreUniqueAndNeverZeroOrMinusOne) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    std::set<DOVA_HANDLE> seen;
    std::vector<DOVA_HANDLE> open;
    for (int i = 0; i < 200; ++i) {
        DOVA_HANDLE h = DovaOpenByName("CON", DOVA_MODE_DIRECT);
        ASSERT_NE(h, 0u);
        ASSERT_NE(h, DOVA_INVALID_HANDLE);
        EXPECT_TRUE(seen.insert(h).second);
        open.push_back(h);
    }
    for (DOVA_HANDLE h : open)
        EXPECT_EQ(DovaClose(h), DOVA_OK);
}

TEST_F(Api, OpenDependsOnTheModeTheKindOffers) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    for (int32_t mode = 0; mode <= 3; ++mode) {
        DOVA_HANDLE h = DovaOpenByName("CON", mode);
        EXPECT_NE(h, DOVA_INVALID_HANDLE) << mode;
        DovaClose(h);
    }
    EXPECT_EQ(DovaOpenByName("LPT1", DOVA_MODE_EVENTS), DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaOpenByName("COM1", DOVA_MODE_WINMSG), DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaOpenByName("KPNET@10.0.0.1", DOVA_MODE_WINMSG), DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaOpenByName("CON", 4), DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaOpenByName("CON", -1), DOVA_INVALID_HANDLE);
}

TEST_F(Api, KindsWithoutABackendInThisBuildFailToOpenAndSaySo) {
    // A build without CUPS has no spooler ports; a build with it opens them, and the test
    // then has nothing to try.
    const struct {
        const char* target;
        const char* resolved;
        const char* typeName;
    } candidates[] = {
        {"SPOOLER", "00000053 = _DovaWhatIF(NO=0,CH=-1,IP=0.0.0.0:0)", "SPOOLER"},
    };
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    for (const auto& c : candidates) {
        DOVA_HANDLE h = DovaOpenByName(c.target, DOVA_MODE_DIRECT);
        if (h != DOVA_INVALID_HANDLE) {
            DovaClose(h);
            continue;
        }
        DovaCleanup();
        std::string trace = readFile(tracePath());
        EXPECT_NE(trace.find(c.resolved), std::string::npos) << trace;
        EXPECT_NE(trace.find(std::string("DOVA: ") + c.typeName +
                             " ports are not available in this build\n"),
                  std::string::npos)
            << trace;
        return;
    }
    DovaCleanup();
    GTEST_SKIP() << "every candidate kind has a backend in this build";
}

TEST_F(Api, OpenTracesTheResolvedTarget) {
    startWithLog("0x10");
    DOVA_HANDLE h = DovaOpenByName("DUMP", DOVA_MODE_THREADS);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    DovaClose(h);
    DovaCleanup();
    EXPECT_NE(readFile(tracePath()).find("00000002 = _DovaWhatIF(NO=-1,CH=-1,IP=0.0.0.0:0)"),
              std::string::npos);
    char expected[64];
    std::snprintf(expected, sizeof expected, ">DovaOpenByName name='DUMP'\n<DovaOpenByName %08X\n",
                  h);
    EXPECT_NE(readFile(logPath()).find(expected), std::string::npos);
}

TEST_F(Api, FileTargetGetsItsNameAndWritesThrough) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    fs::path out = dir / "receipt.bin";
    DOVA_HANDLE h = DovaOpenByName(out.c_str(), DOVA_MODE_THREADS);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_FILE);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    EXPECT_LE(DovaLock(h, 0), 0); // unsupported: callers go on
    uint32_t written = 0;
    EXPECT_EQ(DovaWrite(h, "\x1b@hello", 7, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 7u);
    EXPECT_EQ(DovaRelease(h, 30000), DOVA_OK);
    EXPECT_EQ(DovaClose(h), DOVA_OK);
    EXPECT_EQ(readFile(out), "\x1b@hello");
}

} // namespace
