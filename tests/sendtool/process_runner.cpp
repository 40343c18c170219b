#include "process_runner.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sendtool_test {

namespace fs = std::filesystem;

std::optional<int> waitChild(pid_t pid, std::chrono::milliseconds timeout) {
    int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) throw std::runtime_error("pidfd_open failed");
    struct pollfd p = {pidfd, POLLIN, 0};
    int ready;
    do {
        ready = poll(&p, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    close(pidfd);
    if (ready == 0) return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options) {
    fs::path outPath = options.workDir / ".stdout";
    fs::path errPath = options.workDir / ".stderr";
    fs::path inPath = options.workDir / ".stdin";
    if (options.stdinText) writeFile(inPath, *options.stdinText);

    std::vector<std::string> argStore{program};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (chdir(options.workDir.c_str()) != 0) _exit(126);
        int in = open(options.stdinText ? inPath.c_str() : "/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (options.stdoutToClosedPipe) {
            int fds[2];
            if (pipe(fds) != 0) _exit(126);
            close(fds[0]);
            dup2(fds[1], 1);
        }
        for (auto& [name, value] : options.env)
            setenv(name.c_str(), value.c_str(), 1);
        if (options.fileSizeLimit) {
            // Past the limit a write is cut short and the next one fails with
            // EFBIG instead of killing the process.
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = {static_cast<rlim_t>(*options.fileSizeLimit),
                                   static_cast<rlim_t>(*options.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    RunResult result;
    auto status = waitChild(pid, options.timeout);
    if (!status) {
        kill(pid, SIGKILL);
        status = waitChild(pid, std::chrono::seconds(10));
        result.timedOut = true;
    }
    if (status && WIFEXITED(*status)) result.exitCode = WEXITSTATUS(*status);
    if (status && WIFSIGNALED(*status)) result.signal = WTERMSIG(*status);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "prnfeed-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

} // namespace sendtool_test
