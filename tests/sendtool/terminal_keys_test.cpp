// Prompt lines on a real (pseudo-)terminal: the keys are read without Enter
// and without echo, and the terminal gets its mode back afterwards, also when
// Ctrl-C ends the program in the middle of a prompt.
#include "process_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace sendtool_test;

namespace {

class Terminal {
public:
    Terminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slaveName_ = ptsname(master_);
    }
    ~Terminal() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitChild(pid_, std::chrono::seconds(10));
        }
        close(master_);
    }

    // Starts prnfeed with the terminal as its controlling terminal and its
    // standard input, output and error.
    void start(const std::filesystem::path& dir, const std::vector<std::string>& args) {
        std::vector<std::string> store{PRNFEED_PATH};
        store.insert(store.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : store)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            setsid();
            int slave = open(slaveName_.c_str(), O_RDWR);
            if (slave < 0 || ioctl(slave, TIOCSCTTY, 0) != 0) _exit(126);
            dup2(slave, 0);
            dup2(slave, 1);
            dup2(slave, 2);
            if (chdir(dir.c_str()) != 0) _exit(126);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }

    // Reads the terminal's output until it holds the text (bounded).
    bool waitFor(const std::string& text) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (screen_.find(text) == std::string::npos) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            struct pollfd p = {master_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char buf[512];
            ssize_t n = read(master_, buf, sizeof buf);
            if (n <= 0) return false;
            screen_.append(buf, static_cast<size_t>(n));
        }
        return true;
    }

    void type(const std::string& keys) {
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    tcflag_t localFlags() {
        struct termios mode;
        if (tcgetattr(master_, &mode) != 0) return 0;
        return mode.c_lflag;
    }

    std::optional<int> wait() {
        auto status = waitChild(pid_, std::chrono::seconds(30));
        reaped_ = status.has_value();
        return status;
    }

    const std::string& screen() const { return screen_; }

private:
    int master_ = -1;
    std::string slaveName_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    std::string screen_;
};

TEST(SendtoolTerminalKeys, APromptWaitsForOneKeyWithoutEchoAndRestoresTheTerminal) {
    TempDir dir;
    writeFile(dir / "job.txt", "ESC\n.Press a key\n65\n");
    Terminal terminal;
    ASSERT_TRUE(terminal.localFlags() & ICANON);
    terminal.start(dir.path(), {"job.txt", "DUMP"});
    ASSERT_TRUE(terminal.waitFor("Press a key"));
    // The byte before the prompt was sent before the prompt was shown.
    EXPECT_LT(terminal.screen().find("1Bh  ESC"), terminal.screen().find("Press a key"));
    EXPECT_EQ(terminal.localFlags() & (ICANON | ECHO), 0u);
    terminal.type("q");
    ASSERT_TRUE(terminal.waitFor("Total Time"));
    auto status = terminal.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(terminal.localFlags() & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
    EXPECT_EQ(terminal.screen().find('q'), std::string::npos);
    EXPECT_NE(terminal.screen().find("41h  A"), std::string::npos);
}

TEST(SendtoolTerminalKeys, CtrlCDuringAPromptRestoresTheTerminal) {
    TempDir dir;
    writeFile(dir / "job.txt", ".Waiting for Ctrl-C\n65\n");
    Terminal terminal;
    terminal.start(dir.path(), {"job.txt", "out.prn"});
    ASSERT_TRUE(terminal.waitFor("Waiting for Ctrl-C"));
    ASSERT_EQ(terminal.localFlags() & ICANON, 0u);
    terminal.type("\x03");
    auto status = terminal.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT);
    EXPECT_EQ(terminal.localFlags() & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
    EXPECT_EQ(readFile(dir / "out.prn"), "");
}

TEST(SendtoolTerminalKeys, OnlyEscapeEndsADelayEarly) {
    TempDir dir;
    writeFile(dir / "job.txt", "!waiting\n*600000\n65\n");
    Terminal terminal;
    terminal.start(dir.path(), {"job.txt", "out.prn"});
    ASSERT_TRUE(terminal.waitFor("waiting"));
    // Typed before or during the delay: the keys wait in the terminal's queue
    // and are read once the delay takes keys.
    terminal.type("x\x1b");
    ASSERT_TRUE(terminal.waitFor("Total Time"));
    auto status = terminal.wait();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "A");
    EXPECT_EQ(terminal.localFlags() & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO));
}

} // namespace
