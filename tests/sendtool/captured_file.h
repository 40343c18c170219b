// A FILE that keeps what was printed to it, for the emitter and sender tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace sendtool_test {

class Captured {
public:
    Captured() : file_(open_memstream(&data_, &size_)) {}
    ~Captured() {
        std::fclose(file_);
        std::free(data_);
    }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;
    std::FILE* file() { return file_; }
    std::string text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    size_t size_ = 0;
    std::FILE* file_;
};

} // namespace sendtool_test
