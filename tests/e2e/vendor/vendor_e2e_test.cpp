// prnfeed end to end to targets served by device libraries, played by the
// tests' own libraries: they note each call and the bytes they were given in
// a folder of the test's own (DOVA_PLAYER_DIR).
#include "prnfeed_child.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int runPrnfeed(const std::vector<std::string>& args) {
    return e2e_test::runPrnfeedChild(PRNFEED, args);
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A folder for the played libraries' notes and the script, and the
// environment prnfeed finds them through.
struct PlayedLibraries : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/dova-vendor-e2e-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::setenv("DOVA_PLAYER_DIR", dir.c_str(), 1);
        ::setenv("LD_LIBRARY_PATH", PLAYER_DIR, 1);
        ::unsetenv("DOVA_PLAYER_SCRIPT");
    }
    void TearDown() override {
        ::unsetenv("DOVA_PLAYER_DIR");
        ::unsetenv("DOVA_PLAYER_SCRIPT");
        ::unsetenv("LIBDOVA_CONF");
        fs::remove_all(dir);
    }
    std::string script(const std::string& text) {
        std::ofstream(dir / "job.txt") << text;
        return (dir / "job.txt").string();
    }
    std::string calls(const char* library) {
        return readAll(dir / (std::string(library) + ".calls"));
    }
    std::string data(const char* library) {
        return readAll(dir / (std::string(library) + ".data"));
    }
};

const char* const ticket = "ESC \"@\" \"Table 12: waiter please\" CR LF\nGS \"V\" 1\n";
const char* const ticketBytes = "\x1b@Table 12: waiter please\r\n\x1dV\x01";

TEST_F(PlayedLibraries, ScriptToStarIOReachesTheLibrary) {
    EXPECT_EQ(runPrnfeed({script(ticket), "STARIO"}), 0);
    EXPECT_EQ(data("StarIOPort"), ticketBytes);
    std::string c = calls("StarIOPort");
    EXPECT_EQ(c.rfind("OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 0)\n", 0), 0u) << c;
    EXPECT_NE(c.find("WritePort("), std::string::npos) << c;
    EXPECT_EQ(c.substr(c.size() - std::string("ClosePort(20896)\n").size()), "ClosePort(20896)\n")
        << c;
}

TEST_F(PlayedLibraries, StarIOThatCannotOpenFailsTheJob) {
    ::setenv("DOVA_PLAYER_SCRIPT", "OpenPortA=0", 1);
    EXPECT_NE(runPrnfeed({script(ticket), "STARIO"}), 0);
    EXPECT_EQ(data("StarIOPort"), "");
}

TEST_F(PlayedLibraries, ScriptToAJobSpoolChannelReachesTheLibrary) {
    EXPECT_EQ(runPrnfeed({script(ticket), "JOBSPOOL"}), 0);
    EXPECT_EQ(data("KZAPI"), ticketBytes);
    std::string c = calls("KZAPI");
    EXPECT_EQ(c.rfind("KZInitialize()\nKZOpenChannel(1, \"\", 1)\nKZSend(7, ", 0), 0u) << c;
    EXPECT_EQ(c.substr(c.size() - std::string("KZRelease()\n").size()), "KZRelease()\n") << c;
}

TEST_F(PlayedLibraries, JobSpoolTakingPartOfTheDataFailsTheJob) {
    ::setenv("DOVA_PLAYER_SCRIPT", "KZSend=3", 1);
    EXPECT_NE(runPrnfeed({"-o", script(ticketBytes), "JOBSPOOL"}), 0);
    EXPECT_EQ(data("KZAPI"), std::string(ticketBytes, 3));
}

TEST_F(PlayedLibraries, ScriptToIbmReachesTheLibraryInATransaction) {
    EXPECT_EQ(runPrnfeed({script(ticket), "IBMDLL"}), 0);
    EXPECT_EQ(data("WNTSFPRT"), ticketBytes);
    std::string c = calls("WNTSFPRT");
    EXPECT_EQ(c.rfind("PrtOpenDevice(1, 0)\nPrtBeginTrans(6989, 0)\n", 0), 0u) << c;
    const std::string end = "PrtEndTrans(6989)\nPrtCloseDevice(6989)\n";
    EXPECT_EQ(c.substr(c.size() - end.size()), end) << c;
}

// The driver port library is found under the Program Files folder, and a
// TANSY target opens ULM_LPT1 whatever its number.
TEST_F(PlayedLibraries, ScriptToTansyReachesTheDriverPortLibrary) {
    std::ofstream(dir / "libdova.conf") << "ProgramFiles=" << PROGRAM_FILES << "\n";
    ::setenv("LIBDOVA_CONF", (dir / "libdova.conf").c_str(), 1);
    EXPECT_EQ(runPrnfeed({script(ticket), "TANSY2"}), 0);
    EXPECT_EQ(data("ULMPAX04"), ticketBytes);
    std::string c = calls("ULMPAX04");
    EXPECT_EQ(c.rfind("SD_CreateFile(L\"ULM_LPT1:\", 0xC0000000, 0, null, 3, 0x40000080, null)\n"
                      "SD_WriteFile(1952, ",
                      0),
              0u)
        << c;
    const std::string end = "SD_CloseHandle(1952)\n";
    EXPECT_EQ(c.substr(c.size() - end.size()), end) << c;
}

} // namespace
