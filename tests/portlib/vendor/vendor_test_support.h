// Shared pieces of the device-library port tests.
#pragma once

#include "os/os_library.h"

#include <cstdint>
#include <string>
#include <vector>

// A played library as the test drives it: the same loaded module the port
// calls (a second load of one file shares the first one's state).
class PlayedLibrary {
public:
    explicit PlayedLibrary(const char* windowsName);
    bool isLoaded() const { return library_.isLoaded(); }
    // Forgets calls, taken bytes, read data and the script.
    void reset();
    void script(const char* key, int64_t value);
    void readData(const std::string& bytes);
    std::string calls() const;
    std::string taken() const;

private:
    os::Library library_;
};

// The trace of one scope in a file of the test's own (DOVA_TRACE).
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    std::string text() const;

private:
    std::string path_;
};

// A configuration file of the test's own for the life of the object.
class ScopedConfig {
public:
    explicit ScopedConfig(const std::string& text);
    ~ScopedConfig();

private:
    std::string path_;
    std::string previous_;
    bool hadPrevious_ = false;
};
