// Where the print-service library and the port handler are looked for:
// the installed component's path and the Program Files folder first, and
// [libraries] for every library name. Each configuration runs in a process
// of its own (ctest sets LIBDOVA_CONF), since a library is looked for once.
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string calls(const os::Library& library) {
    auto f = library.function<const char* (*)()>("PlayerCalls");
    return f ? f() : "(not loaded)";
}

TEST(Installed, ComponentPathAndProgramFilesWin) {
    DOVA_HANDLE ndx = DovaOpenByName("NDX", 1);
    ASSERT_EQ(DovaClaim(ndx, 0), DOVA_OK);
    DovaClose(ndx);
    DOVA_HANDLE gw = DovaOpenByName("GW", 1);
    ASSERT_EQ(DovaClaim(gw, 0), DOVA_OK);
    DovaClose(gw);

    os::Library installed = os::Library::load(INSTALLED_NDX);
    EXPECT_NE(calls(installed).find("NDX_Open("), std::string::npos) << calls(installed);
    os::Library kestra = os::Library::load(PROGRAM_FILES_KESTRA);
    EXPECT_NE(calls(kestra).find("Open(L\"pipe://KP/ULMPRT001\")"), std::string::npos)
        << calls(kestra);
}

TEST(Missing, LibrariesNamedInTheConfigurationAreTheOnlyOnesTried) {
    TraceCapture trace;
    DOVA_HANDLE ndx = DovaOpenByName("NDX", 1);
    EXPECT_EQ(DovaClaim(ndx, 0), DOVA_E_OPEN);
    DovaClose(ndx);
    DOVA_HANDLE gw = DovaOpenByName("GW", 1);
    EXPECT_EQ(DovaClaim(gw, 0), DOVA_E_OPEN);
    DovaClose(gw);
    std::string t = trace.text();
    EXPECT_NE(t.find("DOVA:  '' 'ULMPRT001'=80009999\n"), std::string::npos) << t;
    EXPECT_NE(t.find("DOVA:  'pipe://KP/ULMPRT001'=80000001\n"), std::string::npos) << t;
}

} // namespace
