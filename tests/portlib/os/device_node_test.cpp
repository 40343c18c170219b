// Device nodes on real peers: a pseudo-terminal line and a FIFO; what no
// peer answers (modem lines, failures of the system) is played through the
// seam's system-call layer.
#include "os/os_device.h"
#include "os/os_error.h"
#include "os/os_wait.h"
#include "os/posix/syscalls.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <linux/lp.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A pseudo-terminal pair in raw mode: the node's side is the slave path, the
// test plays the device on the master.
struct PtyFixture : ::testing::Test {
    int master = -1;
    int slave = -1;
    std::string path;
    void SetUp() override {
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        tcsetattr(slave, TCSANOW, &t);
        path = ttyname(slave);
    }
    void TearDown() override {
        ::close(slave);
        ::close(master);
    }
    std::string readMaster(size_t n) {
        std::string got;
        while (got.size() < n && os::waitAny({{master, os::Want::Read}}, 5000) == 0) {
            char buf[64];
            ssize_t r = ::read(master, buf, sizeof buf);
            if (r <= 0) break;
            got.append(buf, size_t(r));
        }
        return got;
    }
};

// Swaps one pointer of the system-call layer for the life of the object.
template <class Pointer> struct Inject {
    Pointer& slot;
    Pointer saved;
    Inject(Pointer& s, Pointer fake) : slot(s), saved(s) { slot = fake; }
    ~Inject() { slot = saved; }
};
template <class Pointer> Inject(Pointer&, Pointer) -> Inject<Pointer>;

TEST_F(PtyFixture, TerminalLineCarriesBytesBothWays) {
    os::DeviceNode node = os::DeviceNode::open(path.c_str());
    ASSERT_TRUE(node.isOpen()) << os::lastError();
    EXPECT_TRUE(node.isTerminal());

    char buf[16];
    EXPECT_EQ(node.readSome(buf, sizeof buf), -1) << "nothing has come yet";
    EXPECT_TRUE(os::errorWouldBlock(os::lastError()));

    EXPECT_EQ(node.writeSome("\x1b@\n\r", 4), 4);
    EXPECT_EQ(readMaster(4), "\x1b@\n\r") << "raw bytes pass unchanged";
    ASSERT_EQ(::write(master, "ok", 2), 2);
    ASSERT_EQ(os::waitAny({{node.handle(), os::Want::Read}}, 5000), 0);
    EXPECT_EQ(node.readSome(buf, sizeof buf), 2);
    EXPECT_EQ(std::string(buf, 2), "ok");

    os::DeviceNode moved = std::move(node);
    EXPECT_FALSE(node.isOpen());
    EXPECT_TRUE(moved.isOpen());
    EXPECT_TRUE(moved.close());
    EXPECT_FALSE(moved.isOpen());
    EXPECT_EQ(moved.writeSome("x", 1), -1);
}

TEST_F(PtyFixture, NodeHeldElsewhereDoesNotOpenUntilItIsGivenUp) {
    os::DeviceNode first = os::DeviceNode::open(path.c_str());
    ASSERT_TRUE(first.isOpen());
    os::DeviceNode second = os::DeviceNode::open(path.c_str());
    EXPECT_FALSE(second.isOpen());
    int error = os::lastError();
    EXPECT_TRUE(os::errorHeldElsewhere(error)) << error;
    EXPECT_FALSE(os::errorWouldBlock(error)) << "a held device is no transfer that may wait";
    first.close();
    os::DeviceNode third = os::DeviceNode::open(path.c_str());
    EXPECT_TRUE(third.isOpen()) << "the exclusive hold ends with the close";
}

TEST(DeviceNodeOpen, CausesOfAFailedOpenAreToldApart) {
    os::DeviceNode missing = os::DeviceNode::open("/nonexistent/dova/ttyS9");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_TRUE(os::errorNotFound(os::lastError()));
    EXPECT_FALSE(os::errorHeldElsewhere(os::lastError()));

    // This machine runs the tests as root, for whom no file is forbidden: the
    // refusal is played.
    Inject refuse(
        os::sys::open, +[](const char*, int, mode_t) -> int {
            errno = EACCES;
            return -1;
        });
    os::DeviceNode forbidden = os::DeviceNode::open("/dev/null");
    EXPECT_FALSE(forbidden.isOpen());
    EXPECT_TRUE(os::errorNoAccess(os::lastError()));
    EXPECT_FALSE(os::errorNotFound(os::lastError()));
}

TEST(DeviceNodeOpen, FifoReadsBackItsOwnBytesAndIsNoTerminal) {
    std::string fifo =
        std::filesystem::temp_directory_path() / ("dova-fifo-" + std::to_string(::getpid()));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    {
        os::DeviceNode node = os::DeviceNode::open(fifo.c_str());
        ASSERT_TRUE(node.isOpen());
        EXPECT_FALSE(node.isTerminal());
        EXPECT_EQ(node.writeSome("abc", 3), 3);
        char buf[8];
        EXPECT_EQ(node.readSome(buf, sizeof buf), 3);
        char status = 0;
        EXPECT_EQ(node.control(LPGETSTATUS, &status), -1);
        EXPECT_TRUE(os::errorRequestUnsupported(os::lastError()))
            << "a node that is no parallel port has no status request";
    }
    ::unlink(fifo.c_str());
}

int interruptionsLeft = 0;

TEST_F(PtyFixture, InterruptedCallsAreRepeatedAndShortWritesReported) {
    os::DeviceNode node = os::DeviceNode::open(path.c_str());
    ASSERT_TRUE(node.isOpen());
    {
        Inject shortWrite(
            os::sys::write, +[](int fd, const void* data, size_t n) -> ssize_t {
                if (interruptionsLeft-- > 0) {
                    errno = EINTR;
                    return -1;
                }
                return ::write(fd, data, n > 2 ? 2 : n);
            });
        interruptionsLeft = 2;
        EXPECT_EQ(node.writeSome("abcdef", 6), 2);
    }
    EXPECT_EQ(readMaster(2), "ab");
    {
        Inject gone(
            os::sys::read, +[](int, void*, size_t) -> ssize_t {
                errno = ENODEV;
                return -1;
            });
        char buf[4];
        EXPECT_EQ(node.readSome(buf, sizeof buf), -1);
        EXPECT_TRUE(os::errorDeviceGone(os::lastError())) << "an unplugged device";
    }
}

TEST_F(PtyFixture, DriverRequestsGoThroughTheLayer) {
    os::DeviceNode node = os::DeviceNode::open(path.c_str());
    ASSERT_TRUE(node.isOpen());
    // A pseudo-terminal has no modem lines: play them, pass the rest on.
    static int calls = 0;
    Inject lines(
        os::sys::ioctl, +[](int fd, unsigned long request, void* argument) -> int {
            if (request != TIOCMGET) return ::ioctl(fd, request, argument);
            ++calls;
            if (calls == 1) {
                errno = EINTR;
                return -1;
            }
            *static_cast<int*>(argument) = TIOCM_DSR | TIOCM_CTS;
            return 0;
        });
    int bits = 0;
    EXPECT_EQ(node.control(TIOCMGET, &bits), 0);
    EXPECT_EQ(bits, TIOCM_DSR | TIOCM_CTS);
    EXPECT_EQ(calls, 2) << "the interrupted request is repeated";

    termios t{};
    ASSERT_EQ(node.control(TCGETS, &t), 0) << "other requests reach the driver";
    EXPECT_EQ(t.c_lflag & ICANON, 0u);
}

} // namespace
