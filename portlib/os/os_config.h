// The library's configuration: an INI file named by LIBDOVA_CONF (default
// /etc/libdova.conf). Keys of the main part ("Log", "LogPath",
// "ConnectTimeout", "StatusPort", "ProgramFiles") stand before any [section]
// or in [libdova]; device paths stand in [devices] ("COM3=/dev/ttyUSB0").
// A missing file means no values. Read afresh at each call, so tests can point
// LIBDOVA_CONF at a file of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace os {

std::optional<std::string> configString(const char* section, const char* key);
// A number written in decimal or with a 0x prefix; nothing when absent or not a number.
std::optional<uint32_t> configNumber(const char* section, const char* key);

// The log file used when logging is on and no "LogPath" is set: the system's
// log folder followed by LIBDOVA.LOG.
std::string defaultLogPath();

} // namespace os
