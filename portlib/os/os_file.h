// A file the library writes: a move-only owner of an open file with an empty
// state, a noexcept destructor and an explicit close() that can report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace os {

class File {
public:
    File() = default;
    File(File&& other) noexcept : fd_(other.fd_), pipeLike_(other.pipeLike_) { other.fd_ = -1; }
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Creates the file for writing, truncating an existing one. An empty File
    // when it cannot be made (bad path, no access).
    static File createAlways(const char* path);

    bool isOpen() const { return fd_ >= 0; }
    intptr_t native() const { return fd_; }

    // Writes once (a retry only on an interrupted call): the bytes written,
    // which may be fewer than asked, or -1 on failure. A pipe or FIFO whose
    // reader has gone fails the write; it never raises SIGPIPE.
    long write(const void* data, size_t length);
    // True when the file closed cleanly; the File is empty afterwards.
    bool close();

private:
    explicit File(int fd);
    int fd_ = -1;
    bool pipeLike_ = false; // a write can meet a reader that has gone
};

// Opens a text stream for appending ("a+"), creating the file; the
// descriptor is not inherited by programs the process starts. nullptr when
// it cannot be opened.
std::FILE* openAppendStream(const char* path);

} // namespace os
