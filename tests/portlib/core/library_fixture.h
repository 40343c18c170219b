// A started library with its own configuration file, trace file and working
// folder, so each test sees only its own log and trace lines.
#pragma once

#include <gtest/gtest.h>

#include <dova/dova.h>

#include "os/os_trace_sink.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class LibraryTest : public ::testing::Test {
protected:
    fs::path dir;
    fs::path logPath() const { return dir / "dova.log"; }
    fs::path tracePath() const { return dir / "trace.txt"; }

    void SetUp() override {
        char tmpl[] = "/tmp/dovatest.XXXXXX";
        dir = mkdtemp(tmpl);
        setenv("DOVA_TRACE", tracePath().c_str(), 1);
        // The sink is kept from the first line on: an earlier test in this
        // process must not keep it.
        os::traceReset();
        writeConfig("");
    }
    void TearDown() override {
        DovaCleanup();
        unsetenv("LIBDOVA_CONF");
        unsetenv("DOVA_TRACE");
        fs::remove_all(dir);
    }
    void writeConfig(const std::string& text) {
        std::ofstream(dir / "libdova.conf") << text;
        setenv("LIBDOVA_CONF", (dir / "libdova.conf").c_str(), 1);
    }
    // Starts the library logging with the given flags into logPath().
    void startWithLog(const char* flags) {
        writeConfig(std::string("Log=") + flags + "\nLogPath=" + logPath().string() + "\n");
        ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    }
};
