// prnfeed end to end to targets served by the XFS manager, the print-service
// library and the port handler, played by the tests' own libraries: they
// note each call and the bytes they were given in a folder of the test's own
// (DOVA_PLAYER_DIR).
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

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PlayedServices : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/dova-services-e2e-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::setenv("DOVA_PLAYER_DIR", dir.c_str(), 1);
        ::setenv("LD_LIBRARY_PATH", PLAYER_PATH, 1);
        ::unsetenv("DOVA_PLAYER_SCRIPT");
        ::unsetenv("SSH_CONNECTION");
    }
    void TearDown() override {
        ::unsetenv("DOVA_PLAYER_DIR");
        ::unsetenv("DOVA_PLAYER_SCRIPT");
        fs::remove_all(dir);
    }
    std::string script(const std::string& text) {
        std::ofstream(dir / "job.txt") << text;
        return (dir / "job.txt").string();
    }
    std::string notes(const char* library, const char* kind) {
        return readAll(dir / (std::string(library) + kind));
    }
    // prnfeed with the arguments, its input empty and its output kept in
    // out.txt; the exit code, or -1 when it had to be killed after a minute.
    int runPrnfeed(const std::vector<std::string>& args) {
        return e2e_test::runPrnfeedChild(PRNFEED, args, (dir / "out.txt").string());
    }
    std::string output() { return readAll(dir / "out.txt"); }
};

const char* const ticket = "ESC \"@\" \"Table 12: waiter please\" CR LF\nGS \"V\" 1\n";
const char* const ticketBytes = "\x1b@Table 12: waiter please\r\n\x1dV\x01";

// The XFS port carries no data: a job of comments runs the service check
// between claim and release.
TEST_F(PlayedServices, XfsTargetRunsTheServiceCheck) {
    EXPECT_EQ(runPrnfeed({script("' check the XFS printer\n"), "XFS"}), 0);
    std::string out = output();
    for (const char* part :
         {"0 WFSStartUp\n", " Logical name = 'NT_DOC'\n0 WFSOpen\n0 WFSLock\n",
          "0 WFSGetInfo(WFS_INF_PTR_STATUS)\n fwDevice            = 0:WFS_PTR_DEVONLINE\n",
          "0 WFSExecute(WFS_CMD_PTR_CONTROL_MEDIA)\n0 WFSUnlock\n0 WFSClose\n"
          "0 WFSDestroyAppHandle\n0 WFSCleanUp\n"})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n---\n" << out;
    EXPECT_EQ(notes("MSXFS", ".data"), "ORVAN\r\n");
}

TEST_F(PlayedServices, ScriptToNdxReachesThePrintService) {
    EXPECT_EQ(runPrnfeed({script(ticket), "NDX@192.168.1.20:9100"}), 0);
    EXPECT_EQ(notes("NDX", ".data"), ticketBytes);
    std::string c = notes("NDX", ".calls");
    EXPECT_EQ(c.rfind("NDX_Initialize()\n"
                      "NDX_Open(L\"192.168.1.20:9100\", L\"ULMPRT001\", 0, 1)\n"
                      "NDX_RegisterCallback(0, 20036, callback, port)\n",
                      0),
              0u)
        << c;
    EXPECT_NE(c.find("NDX_UnRegisterCallback(0, 20036)\nNDX_Close(20036)\nNDX_Terminate()\n"),
              std::string::npos)
        << c;
}

TEST_F(PlayedServices, NdxThatCannotOpenFailsTheJob) {
    ::setenv("DOVA_PLAYER_SCRIPT", "NDX_Open=5", 1);
    EXPECT_NE(runPrnfeed({script(ticket), "NDXCD"}), 0);
    EXPECT_EQ(notes("NDX", ".data"), "");
}

TEST_F(PlayedServices, ScriptToGwReachesThePortHandler) {
    EXPECT_EQ(runPrnfeed({script(ticket), "GWQS"}), 0);
    EXPECT_EQ(notes("OrvanGW", ".data"), ticketBytes);
    std::string c = notes("OrvanGW", ".calls");
    EXPECT_EQ(c.rfind("Open(L\"pipe://QS/ULMPRT001\")\nLock(26455, 0)\n", 0), 0u) << c;
    EXPECT_NE(c.find("UnRegisterCallback(26455, 0x60002, callback, port)\nUnlock(26455)\n"
                     "Close(26455)\n"),
              std::string::npos)
        << c;
}

} // namespace
