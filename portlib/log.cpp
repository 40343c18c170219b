#include "log.h"

#include "os/os_clock.h"
#include "os/os_config.h"
#include "os/os_file.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

uint32_t logFlags = 0;
std::unique_ptr<std::FILE, FileCloser> logFile;

void writePrefix(uint32_t handle) {
    if (logFlags & DOVA_LOG_TIME) {
        os::LocalTime t = os::localTime();
        std::fprintf(logFile.get(), "%02d%02d %02d%02d%02d.%03d ", t.month, t.day, t.hour, t.minute,
                     t.second, t.millisecond);
    }
    if (logFlags & DOVA_LOG_HANDLE) std::fprintf(logFile.get(), "%08X ", handle);
}

void apiLine(char mark, uint32_t handle, const char* format, va_list args) {
    if (!logFile || !(logFlags & DOVA_LOG_API)) return;
    writePrefix(handle);
    std::fputc(mark, logFile.get());
    std::vfprintf(logFile.get(), format, args);
    std::fputc('\n', logFile.get());
    std::fflush(logFile.get());
}

} // namespace

int32_t dovaLogOpen() {
    logFlags = os::configNumber(nullptr, "Log").value_or(0);
    if (logFlags == 0) return DOVA_OK;
    std::string path = os::configString(nullptr, "LogPath").value_or(os::defaultLogPath());
    if (path.empty()) path = os::defaultLogPath();
    dovaTrace("DOVA: Log='%s'\n", path.c_str());
    logFile.reset(os::openAppendStream(path.c_str()));
    if (!logFile) return DOVA_E_LOGFILE;
    std::fprintf(logFile.get(), "\nDOVAVersion=%08X\n", DOVA_VERSION);
    std::fflush(logFile.get());
    return DOVA_OK;
}

void dovaLogClose() {
    logFile.reset();
    logFlags = 0;
}

bool dovaLogIsOpen() {
    return logFile != nullptr;
}

void dovaLogEnter(uint32_t handle, const char* format, ...) {
    va_list args;
    va_start(args, format);
    apiLine('>', handle, format, args);
    va_end(args);
}

void dovaLogReturn(uint32_t handle, const char* format, ...) {
    va_list args;
    va_start(args, format);
    apiLine('<', handle, format, args);
    va_end(args);
}

void dovaLogDump(char mark, uint32_t handle, const void* data, uint32_t length) {
    uint32_t flag = mark == '>' ? DOVA_LOG_WRITE : DOVA_LOG_READ;
    if (!logFile || !(logFlags & flag) || length == 0 || !data) return;
    auto bytes = static_cast<const unsigned char*>(data);
    std::FILE* f = logFile.get();
    for (uint32_t i = 0; i < length; ++i) {
        if (i % 16 == 0) {
            writePrefix(handle);
            std::fputc(mark, f);
        }
        std::fprintf(f, " %02X", bytes[i]);
        if (i % 16 == 15) std::fputc('\n', f);
    }
    if (length % 16 != 0) std::fputc('\n', f);
    std::fflush(f);
}
