// The library's log file: switched on by the "Log" flags of the configuration
// (DOVA_LOG_* in dova.h), open from DovaStartup to DovaCleanup.
//
// Line prefix: the local date and time when DOVA_LOG_TIME is set
// ("MMDD HHMMSS.mmm "), then the handle ("%08X ") when DOVA_LOG_HANDLE is set.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the flags and opens the file. 0, or DOVA_E_LOGFILE when logging is on
// and the file cannot be opened.
int32_t dovaLogOpen();
void dovaLogClose();
bool dovaLogIsOpen();

// API trace lines (DOVA_LOG_API): ">" entry text and "<" return text.
void dovaLogEnter(uint32_t handle, const char* format, ...) __attribute__((format(printf, 2, 3)));
void dovaLogReturn(uint32_t handle, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Hex dump of moved bytes: mark '>' for written data (DOVA_LOG_WRITE), '<' for
// read data (DOVA_LOG_READ). Nothing at all for 0 bytes.
void dovaLogDump(char mark, uint32_t handle, const void* data, uint32_t length);
