#include "library_fixture.h"

#include <fcntl.h>

#include <vector>

namespace {

using Log = LibraryTest;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line))
        out.push_back(line);
    return out;
}

// "MMDD HHMMSS.mmm " with plausible values.
bool hasTimePrefix(const std::string& l) {
    int month, day, hour, minute, second, ms;
    char dot, blank;
    if (l.size() < 16 || l[4] != ' ' || l[15] != ' ') return false;
    if (std::sscanf(l.c_str(), "%2d%2d %2d%2d%2d%c%3d%c", &month, &day, &hour, &minute, &second,
                    &dot, &ms, &blank) != 8)
        return false;
    return dot == '.' && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour < 24 &&
           minute < 60 && second < 61 && ms < 1000;
}

TEST_F(Log, NoLogValueMeansNoFile) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    DovaCleanup();
    EXPECT_FALSE(fs::exists(logPath()));
}

TEST_F(Log, AnyFlagOpensTheFileWithTheVersionLine) {
    startWithLog("1");
    DovaCleanup();
    EXPECT_EQ(readFile(logPath()), "\nDOVAVersion=20140410\n");
    // Appended, not replaced, at the next start.
    startWithLog("0x100");
    DovaCleanup();
    EXPECT_EQ(readFile(logPath()), "\nDOVAVersion=20140410\n\nDOVAVersion=20140410\n");
}

TEST_F(Log, FileIsNotInheritedByStartedPrograms) {
    startWithLog("1");
    int logFd = -1;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (fs::read_symlink(entry.path(), ec) == logPath())
            logFd = std::stoi(entry.path().filename());
    }
    ASSERT_GE(logFd, 0) << "the log file is open";
    EXPECT_TRUE(fcntl(logFd, F_GETFD) & FD_CLOEXEC);
}

TEST_F(Log, MissingFolderFailsStartup) {
    writeConfig("Log=0x10\nLogPath=" + (dir / "no" / "such" / "x.log").string() + "\n");
    EXPECT_EQ(DovaStartup(nullptr), DOVA_E_LOGFILE);
    EXPECT_NE(readFile(tracePath()).find("DOVA: Log='"), std::string::npos);
}

TEST_F(Log, TimeAndHandlePrefixOnApiLines) {
    startWithLog("0x13");
    DOVA_HANDLE h = DovaOpenByName("DUMP", 0);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    DovaClose(h);
    DovaCleanup();
    char handle[16];
    std::snprintf(handle, sizeof handle, "%08X", h);
    auto all = lines(readFile(logPath()));
    std::vector<std::string> claimLines;
    bool startupLine = false;
    for (const auto& l : all) {
        if (!hasTimePrefix(l)) continue;
        std::string rest = l.substr(16);
        if (rest == std::string(handle) + " >DovaClaim dwTimeout=0" ||
            rest == std::string(handle) + " <DovaClaim 0")
            claimLines.push_back(rest);
        // Operations that concern no port carry handle 0.
        startupLine |= rest == "00000000 <DovaStartup 0";
    }
    EXPECT_EQ(claimLines.size(), 2u) << readFile(logPath());
    EXPECT_TRUE(startupLine);
}

TEST_F(Log, WriteDumpSixteenBytesALine) {
    startWithLog("0x23");
    DOVA_HANDLE h = DovaOpenByName((dir / "out.bin").c_str(), 0);
    ASSERT_EQ(DovaClaim(h, 0), DOVA_OK);
    std::string twenty(20, 0);
    for (int i = 0; i < 20; ++i)
        twenty[i] = char(i + 0xF0);
    uint32_t written = 0;
    ASSERT_EQ(DovaWrite(h, twenty.data(), 20, &written, 0, 0, 0), DOVA_OK);
    ASSERT_EQ(DovaWrite(h, twenty.data(), 16, &written, 0, 0, 0), DOVA_OK);
    ASSERT_EQ(DovaWrite(h, twenty.data(), 0, &written, 0, 0, 0), DOVA_OK);
    DovaClose(h);
    DovaCleanup();
    char p[16];
    std::snprintf(p, sizeof p, "%08X ", h);
    std::string pre(p);
    std::string sixteen = " F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF";
    auto all = lines(readFile(logPath()));
    ASSERT_EQ(all.size(), 5u) << readFile(logPath());
    EXPECT_EQ(all[0], "");
    EXPECT_EQ(all[1], "DOVAVersion=20140410");
    for (size_t i = 2; i < all.size(); ++i) {
        ASSERT_TRUE(hasTimePrefix(all[i])) << all[i];
        all[i] = all[i].substr(16);
    }
    EXPECT_EQ(all[2], pre + ">" + sixteen);
    EXPECT_EQ(all[3], pre + "> 00 01 02 03");
    EXPECT_EQ(all[4], pre + ">" + sixteen); // exactly 16 bytes: one line
}

TEST_F(Log, ReadDumpOnlyWhenBytesCame) {
    startWithLog("0x40");
    DOVA_HANDLE h = DovaOpenByName("DUMP", 0);
    char buf[8];
    uint32_t got = 5;
    EXPECT_EQ(DovaRead(h, buf, sizeof buf, &got, 0), DOVA_OK);
    EXPECT_EQ(got, 0u);
    DovaClose(h);
    DovaCleanup();
    EXPECT_EQ(readFile(logPath()), "\nDOVAVersion=20140410\n");
}

} // namespace
