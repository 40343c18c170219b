// A pseudo-terminal pair as a serial printer: the port opens the slave side
// (named in a configuration file of the test's own), the test plays the
// printer on the master side and reads the line's settings back from it.
#pragma once

#include <cstdint>
#include <string>

struct PtyLine {
    uint32_t speed = 0;
    bool cstopb = false;
    bool crtscts = false;
    bool ixon = false;
    bool ixoff = false;
    uint8_t vstart = 0;
    uint8_t vstop = 0;
    bool opost = false;
    bool icanon = false;
};

class PtyPrinter {
public:
    PtyPrinter();
    ~PtyPrinter();
    PtyPrinter(const PtyPrinter&) = delete;
    PtyPrinter& operator=(const PtyPrinter&) = delete;

    const std::string& path() const { return path_; }
    int master() const { return master_; }
    // Reads until n bytes came or nothing came for timeoutMs.
    std::string read(size_t n, int timeoutMs = 5000);
    bool write(const std::string& bytes);
    // The settings of the line as the other side sees them.
    PtyLine line() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

// Points LIBDOVA_CONF at a file of the test's own and DOVA_TRACE at a trace
// file for the life of the object.
class ScopedLibraryFiles {
public:
    explicit ScopedLibraryFiles(const std::string& config);
    ~ScopedLibraryFiles();
    std::string trace() const;
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};
