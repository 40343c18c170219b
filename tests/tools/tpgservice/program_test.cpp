// The tpgservice program as others start it: its two start-up lines, and
// a clean end on SIGTERM.

#include "service_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

extern char** environ;

namespace tpgservice::test {
namespace {

class Program {
public:
    explicit Program(std::vector<std::string> args) {
        args.insert(args.begin(), TPGSERVICE_PROGRAM);
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int rc = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        out_ = fds[0];
        if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
    }

    // One line of output, or "" when none comes within the limit.
    std::string line(std::chrono::seconds limit = std::chrono::seconds(30)) {
        auto until = std::chrono::steady_clock::now() + limit;
        while (true) {
            if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
                std::string l = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return l;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0) return {};
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            char buf[256];
            ssize_t n = read(out_, buf, sizeof buf);
            if (n <= 0) return {};
            buffer_.append(buf, static_cast<std::size_t>(n));
        }
    }

    void signal(int sig) { kill(pid_, sig); }

    // The exit status, or -1 when the program has not ended within the limit.
    int wait(std::chrono::seconds limit = std::chrono::seconds(30)) {
        int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
        if (pidfd < 0) return -1;
        pollfd p{pidfd, POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(limit.count() * 1000));
        close(pidfd);
        if (ready <= 0) return -1;
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string buffer_;
};

TEST(tpgserviceProgram, AnnouncesItselfAndEndsCleanlyOnSigterm) {
    TempDir data;
    Program program({"--data", (data.path / "sub").string(), "--port", "0"});
    std::string listening = program.line();
    std::string certificate = program.line();
    ASSERT_EQ(listening.rfind("listening: https://127.0.0.1:", 0), 0u) << listening;
    EXPECT_EQ(certificate, "certificate: " + (data.path / "sub" / "cert.pem").string());
    int port = std::stoi(listening.substr(listening.rfind(':') + 1));
    ASSERT_GT(port, 0);

    httplib::SSLClient client("127.0.0.1", port);
    client.set_ca_cert_path((data.path / "sub" / "cert.pem").string());
    client.enable_server_certificate_verification(true);
    client.set_connection_timeout(std::chrono::seconds(10));
    auto res = client.Get("/readsqlcompleted.php?id=12345");
    ASSERT_TRUE(res) << httplib::to_string(res.error());
    EXPECT_EQ(res->body, "{\"completed\":0}");

    program.signal(SIGTERM);
    EXPECT_EQ(program.wait(), 0);
}

TEST(tpgserviceProgram, BadCommandLinesExplainThemselves) {
    {
        Program program({"--port", "1"});
        EXPECT_NE(program.line().find("--data DIR is required"), std::string::npos);
        EXPECT_EQ(program.wait(), 2);
    }
    {
        Program program({"--data", "/tmp", "--port", "70000"});
        EXPECT_NE(program.line().find("--port"), std::string::npos);
        EXPECT_EQ(program.wait(), 2);
    }
}

TEST(tpgserviceProgram, PortInUseIsReportedNotIgnored) {
    TempDir data;
    RunningService running(data.path / "first");
    Program program({"--data", (data.path / "second").string(), "--port",
                     std::to_string(running.service().port())});
    std::string message = program.line();
    EXPECT_NE(message.find("cannot listen on 127.0.0.1 port"), std::string::npos) << message;
    EXPECT_EQ(program.wait(), 1);
}

} // namespace
} // namespace tpgservice::test
