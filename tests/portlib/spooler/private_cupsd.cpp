#include "private_cupsd.h"

#include <cups/cups.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace spooler_test {
namespace {

using Clock = std::chrono::steady_clock;

void tell(std::string* error, const std::string& text) {
    if (error) *error = text;
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return bool(out);
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

http_t* connectTo(const std::string& socket) {
    return httpConnect2(socket.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 2000,
                        nullptr);
}

std::string queueUri(const std::string& name) {
    return "ipp://localhost/printers/" + name;
}

// Waits for the child with a bound; true once it has ended.
bool reap(pid_t pid, std::chrono::milliseconds bound) {
    const auto deadline = Clock::now() + bound;
    int status = 0;
    for (;;) {
        pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

PrivateCupsd::~PrivateCupsd() {
    stop();
}

bool PrivateCupsd::start(std::string* error) {
    char name[] = "/tmp/tp-cupsd-XXXXXX";
    if (!::mkdtemp(name)) {
        tell(error, "no temporary folder");
        return false;
    }
    folder_ = name;
    // Run as root, cupsd hands jobs to its backends as the user lp, which
    // must be able to reach the spooled files below this folder.
    ::chmod(name, 0755);
    for (const char* sub :
         {"root", "state", "cache", "spool", "spool/tmp", "log", "client", "home"})
        std::filesystem::create_directories(folder_ + "/" + sub);
    socket_ = folder_ + "/cups.sock";
    const std::string files = "ServerRoot " + folder_ + "/root\n" + "StateDir " + folder_ +
                              "/state\n" + "CacheDir " + folder_ + "/cache\n" + "RequestRoot " +
                              folder_ + "/spool\n" + "TempDir " + folder_ + "/spool/tmp\n" +
                              "ErrorLog " + folder_ + "/log/error_log\n" + "AccessLog " + folder_ +
                              "/log/access_log\n" + "PageLog " + folder_ + "/log/page_log\n" +
                              "Printcap " + folder_ + "/printcap\n" + "ServerKeychain " + folder_ +
                              "/ssl\n" + "CreateSelfSignedCerts no\n" + "Sandboxing Relaxed\n";
    // Only the socket, no browsing, no web pages, and no authentication: the
    // tests administer the queues over IPP.
    const std::string conf = "Listen " + socket_ + "\n" +
                             "LogLevel info\n"
                             "Browsing No\n"
                             "WebInterface No\n"
                             "DefaultAuthType None\n"
                             "PreserveJobHistory Yes\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                             "  </Limit>\n</Policy>\n";
    if (!writeText(folder_ + "/root/cups-files.conf", files) ||
        !writeText(folder_ + "/root/cupsd.conf", conf)) {
        tell(error, "cannot write the scheduler's configuration in " + folder_);
        return false;
    }

    const std::string filesPath = folder_ + "/root/cups-files.conf";
    const std::string confPath = folder_ + "/root/cupsd.conf";
    const std::string outPath = folder_ + "/log/cupsd.out";
    std::vector<std::string> args = {CUPSD_PROGRAM, "-f", "-c", confPath, "-s", filesPath};
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    int rc = posix_spawn(&pid_, CUPSD_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        pid_ = -1;
        tell(error, std::string("cannot start " CUPSD_PROGRAM ": ") + std::strerror(rc));
        return false;
    }

    ::setenv("CUPS_SERVER", socket_.c_str(), 1);
    ::setenv("CUPS_SERVERROOT", (folder_ + "/client").c_str(), 1);
    ::setenv("HOME", (folder_ + "/home").c_str(), 1);
    ::unsetenv("LPDEST");
    ::unsetenv("PRINTER");
    cupsSetServer(nullptr);

    // Ready once it answers a request; bounded, and given up when it ends.
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            tell(error, "cupsd ended at start: " + readText(outPath) +
                            readText(folder_ + "/log/error_log"));
            return false;
        }
        if (http_t* http = connectTo(socket_)) {
            ippDelete(cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_PRINTERS), "/"));
            ipp_status_t answer = cupsLastError();
            httpClose(http);
            if (answer <= IPP_STATUS_OK_EVENTS_COMPLETE || answer == IPP_STATUS_ERROR_NOT_FOUND)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    tell(error, "cupsd did not answer within 20 s: " + readText(folder_ + "/log/error_log"));
    stop();
    return false;
}

void PrivateCupsd::stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        if (!reap(pid_, std::chrono::seconds(10))) {
            ::kill(pid_, SIGKILL);
            reap(pid_, std::chrono::seconds(10));
        }
        pid_ = -1;
    }
    if (!folder_.empty() && !std::getenv("TP_KEEP_CUPSD")) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    folder_.clear();
}

std::vector<std::string> PrivateCupsd::clientEnvironment() const {
    return {"CUPS_SERVER=" + socket_, "CUPS_SERVERROOT=" + folder_ + "/client",
            "HOME=" + folder_ + "/home"};
}

bool PrivateCupsd::adminRequest(int operation, const std::string& name,
                                const std::string& deviceUri, std::string* error) {
    http_t* http = connectTo(socket_);
    if (!http) {
        tell(error, "cannot reach cupsd");
        return false;
    }
    ipp_t* request = ippNewRequest(ipp_op_t(operation));
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 queueUri(name).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    if (operation == IPP_OP_CUPS_ADD_MODIFY_PRINTER) {
        // A queue without a PPD is a raw queue; enabled and taking jobs.
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr,
                     deviceUri.c_str());
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
        ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    }
    ippDelete(cupsDoRequest(http, request, "/admin/"));
    httpClose(http);
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        tell(error, std::string(ippOpString(ipp_op_t(operation))) + " " + name + ": " +
                        cupsLastErrorString());
        return false;
    }
    return true;
}

bool PrivateCupsd::addRawQueue(const std::string& name, const std::string& deviceUri,
                               std::string* error) {
    return adminRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name, deviceUri, error);
}

bool PrivateCupsd::deleteQueue(const std::string& name, std::string* error) {
    return adminRequest(IPP_OP_CUPS_DELETE_PRINTER, name, "", error);
}

bool PrivateCupsd::setDefault(const std::string& name, std::string* error) {
    return adminRequest(IPP_OP_CUPS_SET_DEFAULT, name, "", error);
}

bool PrivateCupsd::clearDefault(std::string* error) {
    const std::string spare = "zz-spare-default";
    return addRawQueue(spare, "socket://127.0.0.1:9", error) && setDefault(spare, error) &&
           deleteQueue(spare, error);
}

bool PrivateCupsd::setAccepting(const std::string& name, bool accepting, std::string* error) {
    return adminRequest(accepting ? IPP_OP_CUPS_ACCEPT_JOBS : IPP_OP_CUPS_REJECT_JOBS, name, "",
                        error);
}

bool PrivateCupsd::setStopped(const std::string& name, bool stopped, std::string* error) {
    return adminRequest(stopped ? IPP_OP_PAUSE_PRINTER : IPP_OP_RESUME_PRINTER, name, "", error);
}

std::vector<QueuedJob> PrivateCupsd::jobs(const std::string& name) {
    std::vector<QueuedJob> list;
    http_t* http = connectTo(socket_);
    if (!http) return list;
    cups_job_t* jobs = nullptr;
    int n = cupsGetJobs2(http, &jobs, name.c_str(), 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i)
        list.push_back(QueuedJob{jobs[i].id, jobs[i].title ? jobs[i].title : "", jobs[i].state});
    cupsFreeJobs(n, jobs);
    httpClose(http);
    std::sort(list.begin(), list.end(),
              [](const QueuedJob& a, const QueuedJob& b) { return a.id < b.id; });
    return list;
}

bool PrivateCupsd::waitJobCompleted(const std::string& name, int jobId, uint32_t timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        for (const QueuedJob& job : jobs(name))
            if (job.id == jobId && job.state == IPP_JSTATE_COMPLETED) return true;
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace spooler_test
