#pragma once
// The command line of tpgservice.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tpgservice {

struct ServiceOptions {
    std::filesystem::path data;
    std::string host = "127.0.0.1";
    int port = 8443;                 // 0: the system chooses
    std::filesystem::path cert, key; // both or neither
    std::string base; // public base address for QR codes; empty: the listening address
};

inline constexpr const char* kUsage =
    "usage: tpgservice --data DIR [--host 127.0.0.1] [--port 8443] [--cert FILE --key FILE]"
    " [--base URL]\n";

// Throws std::invalid_argument with a message for the user on a bad command line.
ServiceOptions parseOptions(const std::vector<std::string>& args);

} // namespace tpgservice
