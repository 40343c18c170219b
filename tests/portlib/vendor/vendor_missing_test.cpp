// Libraries and functions that are not there: every call answers its fixed
// value and the ports report it. Run once with every library missing
// (LibraryMissing), once with libraries that export only what a claim needs
// (FunctionsMissing) and once with a library that exports none of them
// (NoFunctions); the configuration comes from the test's environment, since
// a library is looked for once per process.
#include "backends/vendor/ibmdll.h"
#include "backends/vendor/iom.h"
#include "backends/vendor/kzapi.h"
#include "backends/vendor/stario.h"
#include "backends/vendor/tansy.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

TEST(LibraryMissing, StarIO) {
    WStarIO port;
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.release(0), DOVA_OK);
}

TEST(LibraryMissing, Kzapi) {
    WKzapi port;
    EXPECT_EQ(port.claim(0), DOVA_E_SYSTEM) << "initialisation answers -13";
    EXPECT_EQ(port.isOpen(), 0);
}

TEST(LibraryMissing, Ibm) {
    WIBMDLL port;
    port.setNo(1);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN) << "the open answers 9999";
    EXPECT_EQ(port.isOpen(), 0);
}

TEST(LibraryMissing, Tansy) {
    WTansy port;
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN) << "the open answers -1";
    EXPECT_EQ(port.isOpen(), 0);
}

TEST(LibraryMissing, Iom) {
    WIOM port;
    EXPECT_EQ(port.claim(0), DOVA_E_IOMODULE);
    EXPECT_EQ(port.isOpen(), 0);
}

// Without DeleteIOModule no module is made.
TEST(FunctionsMissing, Iom) {
    PlayedLibrary played("IOModule.dll");
    ASSERT_TRUE(played.isLoaded());
    played.reset();
    WIOM port;
    EXPECT_EQ(port.claim(0), DOVA_E_IOMODULE);
    EXPECT_EQ(played.calls(), "");
}

TEST(FunctionsMissing, StarIO) {
    PlayedLibrary played("StarIOPort.dll");
    ASSERT_TRUE(played.isLoaded());
    played.reset();
    WStarIO port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 7;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    char b[2];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.isReady(), 0);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0) << "a port whose library cannot close it is closed all the same";
    EXPECT_EQ(played.calls(), "OpenPortA(\"usbprn:Star TSP100 Cutter (TSP143)\", \"\", 0)\n");
}

TEST(FunctionsMissing, Kzapi) {
    PlayedLibrary played("KZAPI.DLL");
    ASSERT_TRUE(played.isLoaded());
    played.reset();
    WKzapi port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 7;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(n, 0u);
    char b[2];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(played.calls(), "KZInitialize()\nKZOpenChannel(1, \"\", 1)\n");
}

TEST(FunctionsMissing, Ibm) {
    PlayedLibrary played("WNTSFPRT.DLL");
    ASSERT_TRUE(played.isLoaded());
    played.reset();
    WIBMDLL port;
    port.setNo(1);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    constexpr int32_t missing = 9999 + 9999;
    EXPECT_EQ(port.lock(0), missing) << "9999 is no transaction start";
    uint32_t n = 7;
    EXPECT_EQ(port.send("xy", 2, &n, 0, 0, 0), missing);
    EXPECT_EQ(n, 2u) << "the length passed in comes back untouched";
    char b[2];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), missing);
    EXPECT_EQ(port.getCodePage(437), missing);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(played.calls(), "PrtOpenDevice(1, 0)\n");
}

TEST(FunctionsMissing, Tansy) {
    PlayedLibrary played("C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL");
    ASSERT_TRUE(played.isLoaded());
    played.reset();
    WTansy port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 7;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
    char b[2];
    EXPECT_EQ(port.recv(b, sizeof b, &n, 0), DOVA_E_READ);
    EXPECT_EQ(port.reset(), DOVA_E_RESET);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
}

// A library that loads but has none of the functions: the opening calls
// answer too, without calling anything.
TEST(NoFunctions, OpeningCallsAnswerTheirFixedValues) {
    WStarIO star;
    EXPECT_EQ(star.claim(0), DOVA_E_OPEN);
    WKzapi kz;
    EXPECT_EQ(kz.claim(0), DOVA_E_SYSTEM) << "initialisation answers -13";
    WIBMDLL ibm;
    ibm.setNo(1);
    EXPECT_EQ(ibm.claim(0), DOVA_E_OPEN);
    WTansy tansy;
    EXPECT_EQ(tansy.claim(0), DOVA_E_OPEN);
    WIOM iom;
    EXPECT_EQ(iom.claim(0), DOVA_E_IOMODULE);
    EXPECT_EQ(star.isOpen() + kz.isOpen() + ibm.isOpen() + tansy.isOpen(), 0);
}

} // namespace
