#include "pty_printer.h"

#include "os/os_trace_sink.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

PtyPrinter::PtyPrinter() {
    if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
    path_ = ttyname(slave_);
}

PtyPrinter::~PtyPrinter() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

std::string PtyPrinter::read(size_t n, int timeoutMs) {
    std::string got;
    while (got.size() < n) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1) break;
        char buf[4096];
        ssize_t r = ::read(master_, buf, sizeof buf);
        if (r <= 0) break;
        got.append(buf, size_t(r));
    }
    return got;
}

bool PtyPrinter::write(const std::string& bytes) {
    return ::write(master_, bytes.data(), bytes.size()) == ssize_t(bytes.size());
}

ScopedLibraryFiles::ScopedLibraryFiles(const std::string& config) {
    char tmpl[] = "/tmp/dovaserial.XXXXXX";
    dir_ = mkdtemp(tmpl);
    std::ofstream(dir_ + "/libdova.conf") << config;
    setenv("LIBDOVA_CONF", (dir_ + "/libdova.conf").c_str(), 1);
    setenv("DOVA_TRACE", (dir_ + "/trace.txt").c_str(), 1);
    os::traceReset();
}

ScopedLibraryFiles::~ScopedLibraryFiles() {
    unsetenv("LIBDOVA_CONF");
    unsetenv("DOVA_TRACE");
    os::traceReset();
    std::filesystem::remove_all(dir_);
}

std::string ScopedLibraryFiles::trace() const {
    std::ifstream in(dir_ + "/trace.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
