#include "library_fixture.h"

#include "backends/local/console.h"
#include "backends/local/file.h"
#include "os/posix/syscalls.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

using FilePort = LibraryTest;

TEST_F(FilePort, ClaimTruncatesAndSendWrites) {
    fs::path out = dir / "receipt.bin";
    std::ofstream(out) << "an earlier, longer job";
    WFile port;
    ASSERT_EQ(port.setName(out.c_str()), DOVA_OK);
    char name[WFile::nameSize];
    EXPECT_EQ(port.getName(name), DOVA_OK);
    EXPECT_EQ(out.string(), name);
    EXPECT_EQ(port.isOpen(), 0);
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 1);
    uint32_t written = 0;
    EXPECT_EQ(port.send("AB", 2, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(written, 2u);
    // Claiming again recreates the file.
    ASSERT_EQ(port.claim(0), DOVA_OK);
    EXPECT_EQ(port.send("C", 1, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(port.isOpen(), 0);
    EXPECT_EQ(port.release(0), DOVA_OK);
    EXPECT_EQ(readFile(out), "C");
    char buf[4];
    uint32_t got = 9;
    EXPECT_EQ(port.recv(buf, 4, &got, 0), DOVA_E_NOTSUPPORTED);
    EXPECT_EQ(got, 0u);
    std::string trace = readFile(tracePath());
    EXPECT_NE(trace.find("DOVA: WFile::claim(" + out.string() + ")\n"), std::string::npos);
    EXPECT_NE(trace.find("DOVA: WFile::release(0)\n"), std::string::npos);
}

TEST_F(FilePort, NameThatDoesNotFitIsRefusedAndClaimFails) {
    WFile port;
    std::string tooLong = (dir / std::string(250, 'a')).string();
    ASSERT_GT(tooLong.size(), 259u);
    EXPECT_EQ(port.setName(tooLong.c_str()), DOVA_E_PARAM);
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    for (const auto& entry : fs::directory_iterator(dir)) // nothing written under a cut name
        EXPECT_NE(entry.path().filename().string()[0], 'a');
    std::string fits = (dir / std::string(200, 'b')).string();
    EXPECT_EQ(port.setName(fits.c_str()), DOVA_OK);
    EXPECT_EQ(port.claim(0), DOVA_OK);
}

TEST_F(FilePort, UncreatableFileGives1014) {
    WFile port;
    port.setName((dir / "missing" / "x.prn").c_str());
    EXPECT_EQ(port.claim(0), DOVA_E_OPEN);
    EXPECT_EQ(port.isOpen(), 0);
}

// The seam's write pointer, swapped for one test at a time.
struct InjectWrite {
    ssize_t (*saved)(int, const void*, size_t) = os::sys::write;
    explicit InjectWrite(ssize_t (*fake)(int, const void*, size_t)) { os::sys::write = fake; }
    ~InjectWrite() { os::sys::write = saved; }
};

int interruptsLeft = 0;

TEST_F(FilePort, ShortWritesReportTheSmallerCountAndFailuresGive1101) {
    WFile port;
    port.setName((dir / "short.bin").c_str());
    ASSERT_EQ(port.claim(0), DOVA_OK);
    uint32_t written = 99;
    {
        InjectWrite fake([](int fd, const void* d, size_t n) -> ssize_t {
            if (interruptsLeft-- > 0) {
                errno = EINTR;
                return -1;
            }
            return ::write(fd, d, n > 3 ? 3 : n);
        });
        interruptsLeft = 2;
        EXPECT_EQ(port.send("abcdef", 6, &written, 0, 0, 0), DOVA_OK);
        EXPECT_EQ(written, 3u);
    }
    {
        InjectWrite fake([](int, const void*, size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        });
        EXPECT_EQ(port.send("abcdef", 6, &written, 0, 0, 0), DOVA_E_WRITE);
        EXPECT_EQ(written, 0u);
    }
    port.release(0);
    EXPECT_EQ(readFile(dir / "short.bin"), "abc");
}

// The exit code of a child that sends to a FIFO whose reader has gone: 0 when
// the send failed with 1101 and left SIGPIPE neither pending nor blocked.
int sendAfterTheReaderLeft(const fs::path& fifo) {
    signal(SIGPIPE, SIG_DFL);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    WFile port;
    port.setName(fifo.c_str());
    if (port.claim(0) != DOVA_OK) return 2;
    uint32_t written = 0;
    if (port.send("ab", 2, &written, 0, 0, 0) != DOVA_OK || written != 2) return 3;
    close(reader);
    if (port.send("cd", 2, &written, 0, 0, 0) != DOVA_E_WRITE || written != 0) return 4;
    sigset_t pending;
    sigset_t blocked;
    sigpending(&pending);
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    if (sigismember(&pending, SIGPIPE) || sigismember(&blocked, SIGPIPE)) return 5;
    port.release(0);
    return 0;
}

// With SIGPIPE at its default action, which would end the process.
TEST_F(FilePort, FifoWhoseReaderLeftFailsTheSendWithoutKillingTheProcess) {
    fs::path fifo = dir / "printer.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EXIT(_exit(sendAfterTheReaderLeft(fifo)), ::testing::ExitedWithCode(0), "");
}

TEST(ConsolePort, UnclaimedPortRefusesToSend) {
    WCon port;
    uint32_t written = 7;
    EXPECT_EQ(port.send("x", 1, &written, 0, 0, 0), DOVA_E_WRITE);
    EXPECT_EQ(written, 0u);
}

TEST(DumpPort, NumbersBytesAcrossSends) {
    WDump port;
    EXPECT_EQ(port.isOpen(), 1); // works without claim
    uint32_t written = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(port.send("\x1b@\n", 3, &written, 0, 0, 0), DOVA_OK);
    EXPECT_EQ(port.send("\x80 ", 2, &written, 0, 0, 0), DOVA_OK);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(out, ">000000:  27  1Bh  ESC\n"
                   ">000001:  64  40h  @\n"
                   ">000002:  10  0Ah  LF\n"
                   ">000003: 128  80h  \n"
                   ">000004:  32  20h  SP\n");
    char buf[2];
    uint32_t got = 5;
    EXPECT_EQ(port.recv(buf, 2, &got, 0), DOVA_OK);
    EXPECT_EQ(got, 0u);
    EXPECT_STREQ(port.getTypeName(), "DUMP");
    EXPECT_EQ(port.getIFType(), DOVA_IF_CON);
}

TEST(ConsolePort, WritesToATerminalAndRefusesARedirectedOutput) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    WCon port;
    uint32_t written = 0;

    dup2(slave, STDOUT_FILENO);
    EXPECT_EQ(port.claim(0), DOVA_OK);
    int32_t onTerminal = port.send("hi", 2, &written, 0, 0, 0);
    uint32_t writtenOnTerminal = written;

    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    dup2(pipeFds[1], STDOUT_FILENO);
    int32_t redirected = port.send("no", 2, &written, 0, 0, 0);
    dup2(saved, STDOUT_FILENO);
    close(saved);

    EXPECT_EQ(onTerminal, DOVA_OK);
    EXPECT_EQ(writtenOnTerminal, 2u);
    char buf[8] = {};
    EXPECT_EQ(read(master, buf, sizeof buf), 2);
    EXPECT_STREQ(buf, "hi");
    EXPECT_EQ(redirected, DOVA_E_WRITE);
    EXPECT_EQ(written, 0u);
    uint32_t got = 3;
    EXPECT_EQ(port.recv(buf, 2, &got, 0), DOVA_E_NOTSUPPORTED);
    EXPECT_EQ(got, 0u);
    close(pipeFds[0]);
    close(pipeFds[1]);
    close(master);
    close(slave);
}

TEST(ByteNames, Table) {
    EXPECT_STREQ(DovaByteName(0), "NUL");
    EXPECT_STREQ(DovaByteName(27), "ESC");
    EXPECT_STREQ(DovaByteName(31), "US");
    EXPECT_STREQ(DovaByteName(32), "SP");
    EXPECT_STREQ(DovaByteName('!'), "!");
    EXPECT_STREQ(DovaByteName('~'), "~");
    EXPECT_STREQ(DovaByteName(127), "DEL");
    EXPECT_STREQ(DovaByteName(0x80), "");
    EXPECT_STREQ(DovaByteName(0xFF), "");
}

} // namespace
