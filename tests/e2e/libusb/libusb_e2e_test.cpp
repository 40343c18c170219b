// prnfeed end to end to a USB printer through libusb 0.1, played by the
// tests' own library: it lays out one printer (DOVA_PLAYER_USB) and notes
// each call and the bytes it was given in a folder of the test's own
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

int runPrnfeed(const std::vector<std::string>& args) {
    return e2e_test::runPrnfeedChild(PRNFEED, args);
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PlayedLibusb : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/dova-libusb-e2e-XXXXXX";
        dir = ::mkdtemp(tmpl);
        ::setenv("DOVA_PLAYER_DIR", dir.c_str(), 1);
        ::setenv("LD_LIBRARY_PATH", PLAYER_DIR, 1);
        ::setenv("DOVA_PLAYER_USB", "bus device 0519 0003 config interface alt 7 2 ep 81 2 ep 02 2",
                 1);
        ::unsetenv("DOVA_PLAYER_SCRIPT");
    }
    void TearDown() override {
        ::unsetenv("DOVA_PLAYER_DIR");
        ::unsetenv("DOVA_PLAYER_SCRIPT");
        ::unsetenv("DOVA_PLAYER_USB");
        fs::remove_all(dir);
    }
    std::string script(const std::string& text) {
        std::ofstream(dir / "job.txt") << text;
        return (dir / "job.txt").string();
    }
    std::string calls() { return readAll(dir / "libusb-0.1.calls"); }
    std::string data() { return readAll(dir / "libusb-0.1.data"); }
};

const char* const ticket = "ESC \"@\" \"Table 12: waiter please\" CR LF\nGS \"V\" 1\n";
const char* const ticketBytes = "\x1b@Table 12: waiter please\r\n\x1dV\x01";

TEST_F(PlayedLibusb, ScriptToLibusbPrnReachesThePrinterByBulkWrites) {
    EXPECT_EQ(runPrnfeed({script(ticket), "LIBUSBPRN"}), 0);
    EXPECT_EQ(data(), ticketBytes);
    const std::string c = calls();
    EXPECT_EQ(c.rfind("usb_init()\nusb_find_busses()\nusb_find_devices()\nusb_get_busses()\n"
                      "usb_open(001/001)\nusb_set_configuration(h, 1)\n"
                      "usb_claim_interface(h, 0)\n",
                      0),
              0u)
        << c;
    EXPECT_NE(c.find("usb_bulk_write(h, 2, "), std::string::npos) << c;
    EXPECT_EQ(c.substr(c.size() - std::string("usb_close(h)\n").size()), "usb_close(h)\n") << c;
}

TEST_F(PlayedLibusb, NoPrinterFailsTheJob) {
    ::setenv("DOVA_PLAYER_USB", "bus device 0519 0003 config interface alt 7 3 ep 02 2", 1);
    EXPECT_NE(runPrnfeed({script(ticket), "LIBUSBPRN"}), 0);
    EXPECT_EQ(data(), "");
}

} // namespace
