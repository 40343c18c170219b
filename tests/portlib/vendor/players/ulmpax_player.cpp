// Plays libULMPAX04.so. Scripted keys: each function's name for its result
// (SD_CreateFile: the device, default 0x7A0; the others default 1),
// "<function>.done" for the bytes a write reports (default all offered).
// An overlapped call scripted to answer 0 sets the record's error from
// "<function>.error" (default SD_ERROR_IO_PENDING); a pending transfer ends
// at once with "<function>.finalError" (default 0) and raises the event,
// unless "<function>.finishes" is 0: then it never ends. Reads hand out the
// read data.
#include "player.h"

#include <unistd.h>

#include <cstdio>

#pragma GCC visibility push(default)
#include "backends/vendor/ulmpax_library.h"
#pragma GCC visibility pop

using namespace player;

namespace {

[[maybe_unused]] std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

[[maybe_unused]] std::string h(SdHandle device) {
    return num(int64_t(reinterpret_cast<intptr_t>(device)));
}

[[maybe_unused]] std::string ov(const SdOverlapped* overlapped) {
    return overlapped ? "overlapped" : "null";
}

// The end of a call: at once, or (overlapped, scripted to answer 0) pending
// and perhaps ended in the background.
[[maybe_unused]] int32_t answer(const std::string& function, uint32_t done, uint32_t* doneOut,
                                SdOverlapped* overlapped) {
    int32_t r = int32_t(result(function, 1));
    if (r || !overlapped) {
        *doneOut = done;
        return r;
    }
    *doneOut = 0;
    overlapped->error = uint32_t(result(function + ".error", SD_ERROR_IO_PENDING));
    if (overlapped->error == SD_ERROR_IO_PENDING && result(function + ".finishes", 1)) {
        overlapped->result = uint32_t(result(function + ".finalError", 0));
        overlapped->transferred = done;
        uint64_t one = 1;
        if (::write(overlapped->event, &one, sizeof one) != sizeof one) std::perror("eventfd");
    }
    return 0;
}

} // namespace

SdHandle SD_CreateFile(const char16_t* name, uint32_t access, uint32_t share, void* security,
                       uint32_t creation, uint32_t flags, void* templateFile) {
    record("SD_CreateFile(" + str16(name) + ", " + hex(access) + ", " + num(share) + ", " +
           (security ? "security" : "null") + ", " + num(creation) + ", " + hex(flags) + ", " +
           (templateFile ? "template" : "null") + ")");
    return reinterpret_cast<SdHandle>(intptr_t(result("SD_CreateFile", 0x7A0)));
}

#ifndef PLAYER_OPENERS_ONLY
namespace {

int32_t write(const char* function, SdHandle device, const void* data, uint32_t size,
              uint32_t* done, SdOverlapped* overlapped) {
    record(std::string(function) + "(" + h(device) + ", " + num(size) + ", " + ov(overlapped) +
           ")");
    uint32_t n = uint32_t(result(std::string(function) + ".done", size));
    took(data, n < size ? n : size);
    return answer(function, n, done, overlapped);
}

} // namespace

int32_t SD_WriteFile(SdHandle device, const void* data, uint32_t size, uint32_t* done,
                     SdOverlapped* overlapped) {
    return write("SD_WriteFile", device, data, size, done, overlapped);
}

int32_t SD_WriteFile2(SdHandle device, const void* data, uint32_t size, uint32_t* done,
                      SdOverlapped* overlapped) {
    return write("SD_WriteFile2", device, data, size, done, overlapped);
}

int32_t SD_ReadFile(SdHandle device, void* buffer, uint32_t size, uint32_t* done,
                    SdOverlapped* overlapped) {
    // A worker reads without end: only reads that find data are recorded.
    size_t n = give(buffer, size);
    if (n) record("SD_ReadFile(" + h(device) + ", " + num(size) + ", " + ov(overlapped) + ")");
    return answer("SD_ReadFile", uint32_t(n), done, overlapped);
}

int32_t SD_CloseHandle(SdHandle device) {
    record("SD_CloseHandle(" + h(device) + ")");
    return int32_t(result("SD_CloseHandle", 1));
}

int32_t SD_HWReset(SdHandle device) {
    record("SD_HWReset(" + h(device) + ")");
    return int32_t(result("SD_HWReset", 1));
}
#endif
