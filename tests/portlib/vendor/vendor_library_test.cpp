// The loading rule, against the played Star library: loaded once by its
// Windows name and kept, functions found by name, a missing library or
// function answered with the caller's fixed value and nothing called.
#include "backends/vendor/stario_port_library.h"
#include "backends/vendor/vendor_library.h"
#include "vendor_test_support.h"

#include <gtest/gtest.h>

namespace {

struct LoadingRule : ::testing::Test {
    PlayedLibrary played{"StarIOPort.dll"};
    void SetUp() override {
        ASSERT_TRUE(played.isLoaded());
        played.reset();
    }
};

TEST_F(LoadingRule, ArgumentsPassUnchangedAndTheResultComesBack) {
    VendorLibrary library("StarIOPort.dll");
    played.script("OpenPortA", 0x1234);
    void* port = DOVA_VENDOR_CALL(library, OpenPortA, nullptr, "usbprn:X", "9600", 77u);
    EXPECT_EQ(reinterpret_cast<intptr_t>(port), 0x1234);
    EXPECT_EQ(played.calls(), "OpenPortA(\"usbprn:X\", \"9600\", 77)\n");
}

TEST_F(LoadingRule, MissingFunctionOrLibraryAnswersTheFixedValueAndCallsNothing) {
    VendorLibrary library("StarIOPort.dll");
    EXPECT_EQ((library.call<int32_t(int32_t)>("NoSuchFunction", -13, 5)), -13);
    EXPECT_TRUE(library.isLoaded());
    VendorLibrary absent("NoSuchMaker.dll");
    EXPECT_EQ((absent.call<int32_t(int32_t)>("WritePort", 1157, 5)), 1157);
    EXPECT_FALSE(absent.isLoaded());
    EXPECT_EQ(played.calls(), "");
}

TEST_F(LoadingRule, TheFirstAnswerIsKeptForTheLifeOfTheProcess) {
    VendorLibrary library("StarIOPort.dll");
    VendorLibrary absent("StarIOPort.dll");
    {
        ScopedConfig elsewhere("[libraries]\nStarIOPort.dll=/nowhere/libStarIOPort.so\n");
        EXPECT_FALSE(absent.isLoaded());
    }
    ASSERT_TRUE(library.isLoaded());
    {
        ScopedConfig elsewhere("[libraries]\nStarIOPort.dll=/nowhere/libStarIOPort.so\n");
        EXPECT_TRUE(library.isLoaded()) << "a loaded library is not looked for again";
        EXPECT_EQ(DOVA_VENDOR_CALL(library, ClosePort, 0, nullptr), 1);
    }
    EXPECT_FALSE(absent.isLoaded()) << "nor is a missing one";
    EXPECT_EQ(DOVA_VENDOR_CALL(absent, ClosePort, 7, nullptr), 7);
    EXPECT_EQ(played.calls(), "ClosePort(0)\n");
}

} // namespace
