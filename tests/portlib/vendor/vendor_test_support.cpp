#include "vendor_test_support.h"

#include "os/os_trace_sink.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string tempFile(const char* stem) {
    std::string name = std::string("/tmp/") + stem + "-XXXXXX";
    ::close(::mkstemp(name.data()));
    return name;
}

} // namespace

PlayedLibrary::PlayedLibrary(const char* windowsName) : library_(os::Library::load(windowsName)) {}

void PlayedLibrary::reset() {
    if (auto f = library_.function<void (*)()>("PlayerReset")) f();
}

void PlayedLibrary::script(const char* key, int64_t value) {
    if (auto f = library_.function<void (*)(const char*, int64_t)>("PlayerScript")) f(key, value);
}

void PlayedLibrary::readData(const std::string& bytes) {
    if (auto f = library_.function<void (*)(const void*, size_t)>("PlayerReadData"))
        f(bytes.data(), bytes.size());
}

std::string PlayedLibrary::calls() const {
    auto f = library_.function<const char* (*)()>("PlayerCalls");
    return f ? f() : "(not loaded)";
}

std::string PlayedLibrary::taken() const {
    auto f = library_.function<size_t (*)(void*, size_t)>("PlayerTaken");
    if (!f) return {};
    std::string bytes(f(nullptr, 0), '\0');
    f(bytes.data(), bytes.size());
    return bytes;
}

TraceCapture::TraceCapture() : path_(tempFile("dova-vendor-trace")) {
    ::setenv("DOVA_TRACE", path_.c_str(), 1);
    os::traceReset();
}

TraceCapture::~TraceCapture() {
    ::unsetenv("DOVA_TRACE");
    os::traceReset();
    std::remove(path_.c_str());
}

std::string TraceCapture::text() const {
    return readAll(path_);
}

ScopedConfig::ScopedConfig(const std::string& text) : path_(tempFile("dova-vendor-conf")) {
    std::ofstream(path_) << text;
    if (const char* previous = std::getenv("LIBDOVA_CONF")) {
        previous_ = previous;
        hadPrevious_ = true;
    }
    ::setenv("LIBDOVA_CONF", path_.c_str(), 1);
}

ScopedConfig::~ScopedConfig() {
    if (hadPrevious_)
        ::setenv("LIBDOVA_CONF", previous_.c_str(), 1);
    else
        ::unsetenv("LIBDOVA_CONF");
    std::remove(path_.c_str());
}
