#include "send_job.h"

#include "byte_display.h"
#include "console_keys.h"
#include "options.h"
#include "port_io.h"
#include "port_script.h"
#include "raw_sender.h"
#include "script_scanner.h"
#include "tick_clock.h"
#include "usage.h"

#include <dova/dova.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace sendtool {

namespace {

// Exit codes of prnfeed.
constexpr int kExitUsage = 1;
constexpr int kExitLibrary = 11;
constexpr int kExitPort = 12;
constexpr int kExitClaim = 13;
constexpr int kExitLock = 14;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Opens the job's file. Both modes read it as bytes: the script reader folds
// CR LF itself. A folder is refused here rather than failing on the first read.
File openJobFile(const char* path) {
    File file(std::fopen(path, "rb"));
    if (!file) return nullptr;
    struct stat info;
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) return nullptr;
    return file;
}

void separator() {
    std::puts("--------------------------------------------------------");
}

bool failed(int32_t result) {
    return result > 0;
}

// The step whose failure decided the exit code, and why it failed: the
// library's result and the system's error as the call left it.
struct StepFailure {
    std::string step;
    std::string cause;
};

std::string systemWords(int error) {
    return error != 0 ? std::string(std::strerror(error)) : std::string();
}

class Job {
public:
    Job(const Settings& settings, std::FILE* file) : settings_(settings), file_(file) {}

    // The failure behind an exit code of 11 to 14; the steps run from the
    // inside out, so the last one recorded is the one whose code is returned.
    const StepFailure& failure() const { return failure_; }

    int run() {
        if (call("DovaStartup", [] { return DovaStartup(nullptr); })) return kExitLibrary;
        separator();
        uint32_t start = tickCount();
        int result = openAndSend();
        uint32_t elapsed = tickCount() - start;
        separator();
        std::printf("Total Time = %d.%03d sec\n", static_cast<int>(elapsed / 1000),
                    static_cast<int>(elapsed % 1000));
        std::fflush(stdout);
        if (call("DovaCleanup", [] { return DovaCleanup(); })) return kExitLibrary;
        return result;
    }

private:
    // Runs one library call; on a failure notes the step with its result and
    // the system's error (cleared before the call, so an error is the call's
    // own) and answers true.
    template <typename Call> bool call(const char* step, Call&& api, int32_t* resultOut = nullptr) {
        errno = 0;
        int32_t result = api();
        int error = errno;
        if (resultOut) *resultOut = result;
        if (!failed(result)) return false;
        std::string cause = "code " + std::to_string(result);
        if (error != 0) cause += ", " + systemWords(error);
        failure_ = {step, cause};
        return true;
    }

    int openAndSend() {
        std::fflush(stdout);
        errno = 0;
        handle_ = DovaOpenByName(settings_.target, DOVA_MODE_THREADS);
        if (handle_ == DOVA_INVALID_HANDLE) {
            int error = errno;
            std::fprintf(stderr, "\aDovaOpenByName <%s>\n", settings_.target);
            failure_ = {"DovaOpenByName",
                        error != 0
                            ? systemWords(error)
                            : std::string("no port of this kind can be made for the target")};
            return kExitPort;
        }
        uint32_t type = DovaGetIFType(handle_);
        if (type & DOVA_IF_SERIAL) {
            int32_t r = 0;
            if (call(
                    "DovaCommParams",
                    [&] {
                        return DovaCommParams(handle_, settings_.baudRate, settings_.byteSize,
                                              settings_.parity, settings_.stopBits, settings_.flow);
                    },
                    &r)) {
                std::fprintf(stderr, "\aDovaCommParams()=%d\n", r);
                DovaClose(handle_);
                return kExitPort;
            }
        }
        // The console and dump ports print on our standard output.
        bool sharesStdout = type == DOVA_IF_CON || type == DOVA_IF_DUMP;
        DovaPort port(handle_, sharesStdout);
        int result = claimAndSend(port);
        std::fflush(stdout);
        if (call("DovaClose", [&] { return DovaClose(handle_); })) return kExitPort;
        return result;
    }

    int claimAndSend(DovaPort& port) {
        if (call("DovaClaim", [&] { return DovaClaim(handle_, 0); })) return kExitClaim;
        int result = lockAndSend(port);
        std::fflush(stdout);
        // With a wait after the job, the port is let go at once.
        int32_t timeout = settings_.waitSeconds != 0 ? 0 : 30000;
        if (call("DovaRelease", [&] { return DovaRelease(handle_, timeout); })) return kExitClaim;
        return result;
    }

    int lockAndSend(DovaPort& port) {
        if (call("DovaLock", [&] { return DovaLock(handle_, 0); })) return kExitLock;
        int result = send(port);
        std::fflush(stdout);
        if (call("DovaUnlock", [&] { return DovaUnlock(handle_, 0); })) return kExitLock;
        return result;
    }

    int send(DovaPort& port) {
        if (settings_.binary) {
            switch (sendRaw(port, file_, stderr, stdout)) {
            case RawResult::Sent:
                return 0;
            case RawResult::ForceFailed:
                return 1;
            case RawResult::WriteFailed:
                return 3;
            case RawResult::ReadFailed:
                std::fprintf(stderr, "Can't read binary file. <%s>\n", settings_.scriptPath);
                return kExitUsage;
            }
            return 3;
        }
        ByteDisplay display(stdout);
        ConsoleKeys keys(0);
        PortScript script(port, display, keys, settings_.showData);
        if (runScript(file_, script) == ScriptResult::ReadFailed) {
            std::fprintf(stderr, "Can't read script file. <%s>\n", settings_.scriptPath);
            return kExitUsage;
        }
        // The rest of the job, the cut included, never reached the printer:
        // the job failed as surely as a release that leaves data unsent.
        if (script.stalled()) {
            failure_ = {"DovaWrite", "the port accepted no data for " +
                                         std::to_string(StallLimit{}.giveUpMs / 1000) +
                                         " seconds; the rest of the job was dropped"};
            return kExitClaim;
        }
        return 0;
    }

    const Settings& settings_;
    std::FILE* file_;
    DOVA_HANDLE handle_ = DOVA_INVALID_HANDLE;
    StepFailure failure_;
};

} // namespace

int runPrnfeed(int argc, char** argv) {
    printBanner(stderr, DovaVersion());
    Settings settings;
    ParseResult parsed = parseCommandLine(argc, argv, settings, stderr);
    if (!parsed.ok) return parsed.exitCode;

    int result;
    StepFailure failure;
    {
        File file = openJobFile(settings.scriptPath);
        if (!file) {
            std::fprintf(stderr,
                         settings.binary ? "Can't open binary file. <%s>\n"
                                         : "Can't open script file. <%s>\n",
                         settings.scriptPath);
            return kExitUsage;
        }
        Job job(settings, file.get());
        result = job.run();
        failure = job.failure();
    }
    if (settings.waitSeconds != 0) {
        std::printf("Wait %d seconds\n", settings.waitSeconds);
        std::fflush(stdout);
        for (int32_t i = 0; i < settings.waitSeconds; ++i)
            sleepMs(1000);
    }
    // Last of all, so that whoever reads the end of the output sees why
    // nothing (or not everything) was printed.
    if (result >= kExitLibrary && result <= kExitLock && !failure.step.empty())
        std::fprintf(stderr, "prnfeed: %s <%s> failed: %s\n", failure.step.c_str(), settings.target,
                     failure.cause.c_str());
    return result;
}

} // namespace sendtool
