// The HID ports against a hidraw tree of the test's own: sysfs entries with
// uevent and report_descriptor under DOVA_SYSFS_ROOT, and pseudo-terminals
// in raw mode as the nodes under DOVA_DEV_ROOT (the test plays the device on
// the master side). Feature requests, which no pseudo-terminal answers, go
// through the system-call seam.
#include "backends/hid/hid_ald.h"
#include "backends/hid/hid_ibm_m4.h"
#include "backends/hid/hid_ibm_ti4.h"
#include "descriptor_files.h"
#include "os/posix/syscalls.h"
#include "pty_printer.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <list>
#include <mutex>

namespace fs = std::filesystem;

namespace {

// A hidraw tree for the life of the object.
class HidTree {
public:
    HidTree() {
        char tmpl[] = "/tmp/dova-hid-XXXXXX";
        root_ = ::mkdtemp(tmpl);
        fs::create_directories(root_ / "sys/class/hidraw");
        fs::create_directories(root_ / "dev");
        ::setenv("DOVA_SYSFS_ROOT", (root_ / "sys").c_str(), 1);
        ::setenv("DOVA_DEV_ROOT", (root_ / "dev").c_str(), 1);
    }
    ~HidTree() {
        ::unsetenv("DOVA_SYSFS_ROOT");
        ::unsetenv("DOVA_DEV_ROOT");
        fs::remove_all(root_);
    }
    // hidraw<number> with the ids and the descriptor of that name; the
    // device is played on the returned pseudo-terminal's master side.
    PtyPrinter& add(int number, uint16_t vendor, uint16_t product, const char* descriptor) {
        const std::string name = "hidraw" + std::to_string(number);
        const fs::path entry = root_ / "sys/class/hidraw" / name / "device";
        fs::create_directories(entry);
        char id[64];
        std::snprintf(id, sizeof id, "HID_ID=0003:%08X:%08X\n", vendor, product);
        std::ofstream(entry / "uevent") << "DRIVER=hid-generic\n" << id << "HID_NAME=test\n";
        const std::vector<uint8_t> bytes = loadDescriptor(descriptor);
        std::ofstream(entry / "report_descriptor", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        PtyPrinter& device = devices_.emplace_back();
        termios raw{};
        ::tcgetattr(device.master(), &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(device.master(), TCSANOW, &raw);
        fs::create_symlink(device.path(), root_ / "dev" / name);
        return device;
    }
    std::string node(int number) const {
        return (root_ / "dev" / ("hidraw" + std::to_string(number))).string();
    }

private:
    fs::path root_;
    std::list<PtyPrinter> devices_;
};

constexpr uint16_t ibm = 0x04B3;

struct HidPort : ::testing::Test {
    HidTree tree;
};

TEST_F(HidPort, SearchTakesTheFirstFreeDeviceWithTheIdsAndUsage) {
    // hidraw1: the right ids, another usage; hidraw2 and hidraw10: both
    // match, and 2 comes first although "hidraw10" sorts before it.
    tree.add(1, ibm, 0x4533, "boot_keyboard");
    tree.add(10, ibm, 0x4533, "pos_display");
    tree.add(2, ibm, 0x4533, "pos_display");
    tree.add(3, ibm, 0x4535, "pos_display");
    WHidIbmM4 port;
    port.setNo(7);
    ScopedLibraryFiles files("");
    ASSERT_EQ(port.claim(0), DOVA_OK);
    char name[WHid::kPathSize];
    port.getName(name);
    EXPECT_EQ(std::string(name), tree.node(2));
    EXPECT_EQ(port.outputReportLength(), 1023u);
    EXPECT_EQ(files.trace(), "DOVA: WHidIbmM4::claim(7)\n"
                             "DOVA: WHid::devicePath(04B3h:4533h:3500h)\n");
    // Held by this port: a second port gets the other one.
    WHidIbmM4 second;
    ASSERT_EQ(second.claim(0), DOVA_OK);
    second.getName(name);
    EXPECT_EQ(std::string(name), tree.node(10));
    // Both held: a third finds none.
    WHidIbmM4 third;
    EXPECT_EQ(third.claim(0), DOVA_E_ADDRESS);
    EXPECT_EQ(third.isOpen(), 0);
    // The path found stays for the next claim.
    EXPECT_EQ(port.release(0), DOVA_OK);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    port.getName(name);
    EXPECT_EQ(std::string(name), tree.node(2));
}

TEST_F(HidPort, NoDeviceIsAnAddressFailureAndAHeldOneIsSkipped) {
    WHidAld ald;
    EXPECT_EQ(ald.claim(0), DOVA_E_ADDRESS);
    tree.add(4, 0x2A5E, 0x0311, "vendor_ffff");
    os::DeviceNode elsewhere = os::DeviceNode::open(tree.node(4).c_str());
    ASSERT_TRUE(elsewhere.isOpen());
    EXPECT_EQ(ald.claim(0), DOVA_E_ADDRESS);
    elsewhere.close();
    EXPECT_EQ(ald.claim(0), DOVA_OK);
    // Found, then taken by another before the next claim opens it.
    EXPECT_EQ(ald.release(0), DOVA_OK);
    elsewhere = os::DeviceNode::open(tree.node(4).c_str());
    EXPECT_EQ(ald.claim(0), DOVA_E_OPEN);
}

TEST_F(HidPort, AldWritesTheCallersReportsAndNeverWaitsToRead) {
    PtyPrinter& device = tree.add(0, 0x2A5E, 0x0311, "vendor_ffff");
    WHidAld port;
    ScopedLibraryFiles files("");
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("\x00report\n", 8, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(device.read(8), std::string("\x00report\n", 8));
    char buffer[80];
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_OK);
    EXPECT_EQ(n, 0u) << "nothing pending";
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(files.trace(), "DOVA: WHidAld::claim(-1)\n"
                             "DOVA: WHid::devicePath(2A5Eh:0311h:FFFFh)\n"
                             "DOVA: WHidAld::release(100)\n");
}

TEST_F(HidPort, M4NeitherSendsNorReceives) {
    tree.add(0, ibm, 0x4533, "pos_display");
    WHidIbmM4 port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 5;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_NOTSUPPORTED);
    EXPECT_EQ(n, 0u);
    char c;
    EXPECT_EQ(port.recv(&c, 1, &n, 0), DOVA_E_NOTSUPPORTED);
    ScopedLibraryFiles files("");
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(files.trace(), "DOVA: WUsb::release(0)\n");
}

// Feature requests the seam plays: the report asked for and its size.
std::mutex featureMutex;
std::vector<uint8_t> featureAsked;
int (*realIoctl)(int, unsigned long, void*) = nullptr;
int playedIoctl(int fd, unsigned long request, void* argument) {
    if (_IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(HIDIOCGFEATURE(0))) {
        std::lock_guard lock(featureMutex);
        const auto* bytes = static_cast<const uint8_t*>(argument);
        featureAsked.assign(bytes, bytes + _IOC_SIZE(request));
        return int(_IOC_SIZE(request));
    }
    return realIoctl(fd, request, argument);
}

std::mutex reportMutex;
std::condition_variable reportArrived;
std::vector<uint32_t> reportSizes;
void onReport(DovaBase*, uint32_t stored) {
    std::lock_guard lock(reportMutex);
    reportSizes.push_back(stored);
    reportArrived.notify_all();
}

struct Ti4Report {
    uint32_t data;
    int32_t result;
    uint8_t id;
    uint16_t lengthField;
};

TEST_F(HidPort, Ti4SendsOneOutputReportPerCall) {
    PtyPrinter& device = tree.add(0, ibm, 0x4535, "pos_display");
    WHidIbmTI4 port;
    ASSERT_EQ(port.claim(0), DOVA_OK);
    ASSERT_EQ(port.outputReportLength(), 1023u);
    std::string data(1017, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char('A' + i % 26);
    const Ti4Report cases[] = {
        {0, DOVA_OK, 2, 4},       {250, DOVA_OK, 2, 254},         {251, DOVA_OK, 1, 255},
        {1016, DOVA_OK, 1, 1020}, {1017, DOVA_E_HIDREPORT, 0, 0},
    };
    for (const Ti4Report& c : cases) {
        SCOPED_TRACE(c.data);
        uint32_t n = 99;
        EXPECT_EQ(port.send(data.data(), c.data, &n, 0, 0, 0), c.result);
        if (c.result != DOVA_OK) {
            EXPECT_EQ(n, 0u);
            continue;
        }
        EXPECT_EQ(n, c.data);
        const std::string report = device.read(1023);
        ASSERT_EQ(report.size(), 1023u);
        EXPECT_EQ(uint8_t(report[0]), c.id);
        EXPECT_EQ(uint8_t(report[1]) | uint8_t(report[2]) << 8, c.lengthField);
        EXPECT_EQ(report.substr(3, 4), std::string("\x01\x00\x00\x00", 4));
        EXPECT_EQ(report.substr(7, c.data), data.substr(0, c.data));
        EXPECT_EQ(report.substr(7 + c.data), std::string(1016 - c.data, '\0'));
    }
    EXPECT_EQ(device.read(1, 50), "") << "one report per send, nothing else";
}

TEST_F(HidPort, Ti4CountsInputReportsAndAsksForTheFeatureReport) {
    PtyPrinter& device = tree.add(0, ibm, 0x4535, "pos_display");
    WHidIbmTI4 port;
    port.recvHook = onReport;
    reportSizes.clear();
    ScopedLibraryFiles files("");
    ASSERT_EQ(port.claim(0), DOVA_OK);
    ASSERT_TRUE(device.write(std::string(64, '\x03')));
    {
        std::unique_lock lock(reportMutex);
        ASSERT_TRUE(reportArrived.wait_for(lock, std::chrono::seconds(10),
                                           [] { return !reportSizes.empty(); }));
        EXPECT_EQ(reportSizes[0], 64u);
    }
    realIoctl = os::sys::ioctl;
    os::sys::ioctl = playedIoctl;
    char buffer[16];
    uint32_t n = 9;
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &n, 0), DOVA_E_NOTSUPPORTED);
    os::sys::ioctl = realIoctl;
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(featureAsked, std::vector<uint8_t>({1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(port.release(100), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    const std::string trace = files.trace();
    EXPECT_EQ(trace.rfind("DOVA: WHidIbmTI4::claim(-1)\n"
                          "DOVA: WHid::devicePath(04B3h:4535h:3500h)\n",
                          0),
              0u)
        << trace;
    for (const char* line :
         {"DOVA: WHidIbmTI4::procRecv() Start\n", "DOVA: WHidIbmTI4::procRecv() End\n",
          "DOVA: WHidIbmTI4::release(100)\n"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
    EXPECT_EQ(trace.find("WHidIbmTI4::procRecv() End"), trace.rfind("WHidIbmTI4::procRecv() End"));
}

TEST_F(HidPort, Ti4OnAPathOfItsOwnReadsTheLengthsOfThatNode) {
    PtyPrinter& device = tree.add(6, ibm, 0x9999, "pos_display");
    WHidIbmTI4 port;
    port.setName(tree.node(6).c_str());
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t n = 0;
    EXPECT_EQ(port.send("hi", 2, &n, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(device.read(1023).size(), 1023u);
}

TEST_F(HidPort, TargetsOpenAsTheirTypes) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    const std::pair<const char*, uint32_t> targets[] = {
        {"IBMTI4", 0x42}, {"IBMM4", 0x43}, {"ALD", 0x44}};
    for (const auto& [target, type] : targets) {
        for (int32_t mode = 0; mode <= 1; ++mode) {
            DOVA_HANDLE h = DovaOpenByName(target, mode);
            ASSERT_NE(h, DOVA_INVALID_HANDLE) << target;
            EXPECT_EQ(DovaGetIFType(h), type);
            EXPECT_EQ(DovaClaim(h, 0), DOVA_E_ADDRESS) << "no device in the tree";
            EXPECT_EQ(DovaClose(h), DOVA_OK);
        }
    }
    DovaCleanup();
}

} // namespace
