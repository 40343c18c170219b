// Libraries named as a Windows port names them, loaded through the rule that
// finds them here; the library is a small one built by the tests.
#include "os/os_library.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A configuration file and a folder of the test's own.
struct LibraryFixture : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/dova-lib-XXXXXX";
        dir = ::mkdtemp(tmpl);
        configure("");
    }
    void TearDown() override {
        ::unsetenv("LIBDOVA_CONF");
        fs::remove_all(dir);
    }
    void configure(const std::string& text) {
        std::ofstream(dir / "libdova.conf") << text;
        ::setenv("LIBDOVA_CONF", (dir / "libdova.conf").c_str(), 1);
    }
};

using LibraryNames = LibraryFixture;

TEST_F(LibraryNames, WindowsNamesBecomeTheFilesLoadedHere) {
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"StarIOPort.dll", "libStarIOPort.so"},
        {"WNTSFPRT.DLL", "libWNTSFPRT.so"},
        {"nrDTescM.Dll", "libnrDTescM.so"},
        {"libusb-0.1.so.4", "libusb-0.1.so.4"},
        {"dll", "dll"},
        {"C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL",
         "/opt/ORVAN/ORVAN Brisaprint 4/libULMPAX04.so"},
        {"c:\\program files (x86)\\ORVAN\\Kestra\\Kestra.dll", "/opt/ORVAN/Kestra/libKestra.so"},
        {"\\Program Files\\MSXFS.dll", "/opt/libMSXFS.so"},
        {"/opt\\ORVAN\\Kestra\\Kestra.dll", "/opt/ORVAN/Kestra/libKestra.so"},
        {"D:\\Drivers\\Vendor.dll", "D:/Drivers/libVendor.so"},
        {"C:\\Program Filesystem\\X.dll", "C:/Program Filesystem/libX.so"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::libraryPath(c.name), c.path) << c.name;
}

TEST_F(LibraryNames, ConfigurationNamesPathsAndTheProgramFilesFolder) {
    configure("ProgramFiles=/srv/programs/\n"
              "[devices]\n"
              "StarIOPort.dll=/wrong/section.so\n"
              "[Libraries]\n"
              "stariOPORT.DLL = /opt/star/libStarIOPort.so\n"
              "Kestra.dll=/usr/local/lib/libkestra.so.2\n");
    EXPECT_EQ(os::programFilesFolder(), "/srv/programs");
    EXPECT_EQ(os::libraryPath("StarIOPort.dll"), "/opt/star/libStarIOPort.so");
    EXPECT_EQ(os::libraryPath("C:\\Program Files\\ORVAN\\Kestra\\Kestra.dll"),
              "/usr/local/lib/libkestra.so.2")
        << "a configured path wins for the file wherever it is looked for";
    EXPECT_EQ(os::libraryPath("C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL"),
              "/srv/programs/ORVAN/ORVAN Brisaprint 4/libULMPAX04.so");
    EXPECT_EQ(os::programFilesFolder() + "\\ORVAN\\Kestra\\OrvanGW.dll",
              "/srv/programs\\ORVAN\\Kestra\\OrvanGW.dll");
    EXPECT_EQ(os::libraryPath((os::programFilesFolder() + "\\ORVAN\\Kestra\\OrvanGW.dll").c_str()),
              "/srv/programs/ORVAN/Kestra/libOrvanGW.so");
    configure("");
    EXPECT_EQ(os::programFilesFolder(), "/opt");
}

using LibraryLoad = LibraryFixture;

TEST_F(LibraryLoad, FoundByTheLoadersSearchAndItsFunctionsCalled) {
    std::string why = "untouched";
    os::Library greeter = os::Library::load("Greeter.dll", &why);
    ASSERT_TRUE(greeter.isLoaded()) << why;
    EXPECT_EQ(why, "untouched");
    auto greetTwice = greeter.function<int (*)(int)>("GreetTwice");
    ASSERT_NE(greetTwice, nullptr);
    EXPECT_EQ(greetTwice(21), 42);
    EXPECT_EQ(greeter.symbol("OpenPortA"), nullptr) << "a function the library lacks";
    EXPECT_EQ(greeter.symbol("greettwice"), nullptr) << "exported names are exact";

    os::Library moved = std::move(greeter);
    EXPECT_FALSE(greeter.isLoaded());
    EXPECT_EQ(greeter.symbol("GreetTwice"), nullptr);
    EXPECT_TRUE(moved.isLoaded());
    moved.close();
    EXPECT_FALSE(moved.isLoaded());
}

TEST_F(LibraryLoad, MissingLibraryLoadsNothingAndSaysWhy) {
    std::string why;
    os::Library absent = os::Library::load("AbsentVendor.dll", &why);
    EXPECT_FALSE(absent.isLoaded());
    EXPECT_NE(why.find("libAbsentVendor.so"), std::string::npos) << why;
    EXPECT_EQ(absent.symbol("GreetTwice"), nullptr);
    EXPECT_FALSE(os::Library::load(nullptr).isLoaded());
}

TEST_F(LibraryLoad, ConfiguredPathAndProgramFilesFolderAreLoadedFrom) {
    configure("[libraries]\nOtherVendor.DLL=" GREETER_PATH "\n");
    os::Library configured = os::Library::load("othervendor.dll");
    ASSERT_TRUE(configured.isLoaded()) << "no libothervendor.so exists: the path was taken";
    EXPECT_NE(configured.symbol("GreetTwice"), nullptr);

    fs::path folder = dir / "programs" / "ORVAN" / "ORVAN Brisaprint 4";
    fs::create_directories(folder);
    fs::copy_file(GREETER_PATH, folder / "libULMPAX04.so");
    configure("ProgramFiles=" + (dir / "programs").string() + "\n");
    std::string why;
    os::Library driver =
        os::Library::load("C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL", &why);
    ASSERT_TRUE(driver.isLoaded()) << why;
    EXPECT_NE(driver.symbol("GreetTwice"), nullptr);
}

} // namespace
