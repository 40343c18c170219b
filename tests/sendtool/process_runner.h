// Runs prnfeed (or any program) as a child process with its output in files,
// and waits for it with a bound.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sendtool_test {

struct RunOptions {
    explicit RunOptions(std::filesystem::path dir) : workDir(std::move(dir)) {}

    std::filesystem::path workDir;
    std::vector<std::pair<std::string, std::string>> env; // added to the environment
    std::optional<std::string> stdinText;                 // else /dev/null
    std::optional<long> fileSizeLimit;                    // RLIMIT_FSIZE in bytes
    bool stdoutToClosedPipe = false;                      // nobody reads the output
    std::chrono::seconds timeout{60};
};

struct RunResult {
    int exitCode = -1; // -1 when killed by a signal
    int signal = 0;    // the signal that ended it
    bool timedOut = false;
    std::string out;
    std::string err;
};

RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const RunOptions& options);

// Waits for a child with a bound; returns its wait status, or nullopt after
// the time-out.
std::optional<int> waitChild(pid_t pid, std::chrono::milliseconds timeout);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

// A fresh folder under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace sendtool_test
