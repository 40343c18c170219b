// The test printer as a program: what it prints on start, what it records,
// and its status channel, as the end-to-end runs and people use it.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The program with its standard output on a pipe.
class Child {
public:
    explicit Child(std::vector<std::string> args) {
        args.insert(args.begin(), TESTPRINTER);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        EXPECT_EQ(posix_spawn(&pid_, TESTPRINTER, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(out_);
    }
    // One line of standard output, waiting at most 10 s.
    std::string line() {
        std::string s;
        char c;
        for (;;) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 10000) != 1 || ::read(out_, &c, 1) != 1) return s;
            if (c == '\n') return s;
            s += c;
        }
    }
    // Sends SIGTERM and returns the exit code (waits at most 10 s).
    int terminate() {
        ::kill(pid_, SIGTERM);
        return exitCode();
    }
    // Waits at most 10 s for the program to end; its exit code, or -1.
    int exitCode() {
        int status = 0;
        for (int i = 0; i < 1000; ++i) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::poll(nullptr, 0, 10);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
};

uint16_t portAfter(const std::string& line, const std::string& prefix) {
    EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
    return uint16_t(std::stoi(line.substr(prefix.size())));
}

sockaddr_in loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(TestPrinterProgram, RecordsEveryConnectionAndAnswersTheStatusChannel) {
    char out[] = "/tmp/testprinter-out-XXXXXX";
    ::close(::mkstemp(out));
    Child printer({"--out", out, "--port", "0", "--udp-port", "0", "--device-code", "KP-9"});
    uint16_t tcp = portAfter(printer.line(), "listening: 127.0.0.1:");
    uint16_t udp = portAfter(printer.line(), "status: 127.0.0.1:");

    for (const char* job : {"first job\n", "second job\n"}) {
        int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = loopback(tcp);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        ASSERT_EQ(::send(fd, job, std::strlen(job), 0), ssize_t(std::strlen(job)));
        ::shutdown(fd, SHUT_WR);
        char c;
        pollfd p{fd, POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 10000), 1);
        EXPECT_EQ(::recv(fd, &c, 1, 0), 0) << "the printer closes its side after the job";
        ::close(fd);
    }

    // Device code query: "ORVAN" 'Q' 03 00 00 10, result 0, no parameters.
    const uint8_t query[] = {'O', 'R', 'V', 'A', 'N', 'Q', 3, 0, 0, 0x10, 0, 0, 0, 0};
    int u = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = loopback(udp);
    ASSERT_EQ(::sendto(u, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&a), sizeof a), 14);
    pollfd p{u, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 10000), 1);
    uint8_t reply[512];
    ssize_t n = ::recv(u, reply, sizeof reply, 0);
    ::close(u);
    ASSERT_EQ(n, 27);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 6), "ORVANq");
    EXPECT_EQ(reply[9], 0x10);
    EXPECT_EQ(reply[10] << 8 | reply[11], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply + 14)), "KP-9");

    EXPECT_EQ(printer.terminate(), 0);
    EXPECT_EQ(fileText(out), "first job\nsecond job\n");
    std::remove(out);
}

// Sends one job on its own connection and waits until the printer closes it.
void sendJob(uint16_t port, const std::string& job) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(port);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::send(fd, job.data(), job.size(), 0), ssize_t(job.size()));
    ::shutdown(fd, SHUT_WR);
    char c;
    pollfd p{fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 10000), 1);
    ::recv(fd, &c, 1, 0);
    ::close(fd);
}

struct TempFolder {
    std::filesystem::path path;
    TempFolder() {
        char name[] = "/tmp/testprinter-receipts-XXXXXX";
        path = ::mkdtemp(name);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

TEST(TestPrinterProgram, DrawsEachJobIntoTheReceiptsFolderNumberingOn) {
    TempFolder dir;
    std::ofstream(dir.path / "0007.png") << "from an earlier run";
    Child printer({"--receipts", (dir.path / "new").string(), "--port", "0"});
    uint16_t tcp = portAfter(printer.line(), "listening: 127.0.0.1:");
    // A missing folder is made; in one with pictures the numbers go on.
    sendJob(tcp, "first job\n");
    EXPECT_EQ(printer.line(), "receipt: " + (dir.path / "new" / "0001.png").string());
    Child second({"--receipts", dir.path.string(), "--port", "0", "--paper", "58"});
    uint16_t tcp2 = portAfter(second.line(), "listening: 127.0.0.1:");
    sendJob(tcp2, "\x1b"
                  "a\x02second\n\x1dV\x01");
    sendJob(tcp2, "third\n");
    EXPECT_EQ(second.line(), "receipt: " + (dir.path / "0008.png").string());
    EXPECT_EQ(second.line(), "receipt: " + (dir.path / "0009.png").string());

    EXPECT_EQ(fileText(dir.path / "new" / "0001.txt"), "first job\n");
    EXPECT_EQ(fileText(dir.path / "0008.txt"), "second\n[partial cut]\n");
    EXPECT_EQ(fileText(dir.path / "0009.txt"), "third\n");
    // 58 mm paper: a PNG 384 dots wide (the width is bytes 16-19 of the file).
    const std::string png = fileText(dir.path / "0008.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(uint8_t(png[18]) << 8 | uint8_t(png[19]), 384);
    EXPECT_EQ(printer.terminate(), 0);
    EXPECT_EQ(second.terminate(), 0);
}

TEST(TestPrinterProgram, RendersASavedJobBesideItsTranscript) {
    TempFolder dir;
    std::ofstream(dir.path / "job.bin", std::ios::binary) << "\x1bt\x12"
                                                             "Caf\x82\n";
    Child render({"--render", (dir.path / "job.bin").string(), (dir.path / "job.png").string()});
    EXPECT_EQ(render.line(), "picture: " + (dir.path / "job.png").string());
    EXPECT_EQ(render.line(), "transcript: " + (dir.path / "job.txt").string());
    EXPECT_EQ(render.exitCode(), 0);
    EXPECT_EQ(fileText(dir.path / "job.txt"), "[code page 18: PC852]\nCaf\u00e9\n");
    EXPECT_EQ(fileText(dir.path / "job.png").substr(1, 3), "PNG");

    Child missing({"--render", (dir.path / "none.bin").string(), (dir.path / "x.png").string()});
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "x.png"));
}

TEST(TestPrinterProgram, RefusesAMissingOutputAndBadNumbers) {
    Child noOut({"--port", "0"});
    EXPECT_EQ(noOut.line(), "");
    EXPECT_EQ(noOut.exitCode(), 2);
    Child badPort({"--out", "/dev/null", "--port", "70000"});
    EXPECT_EQ(badPort.exitCode(), 2);
    Child badPaper({"--receipts", "/tmp", "--paper", "76"});
    EXPECT_EQ(badPaper.exitCode(), 2);
}

} // namespace
