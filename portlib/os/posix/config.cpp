#include "os/os_config.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <strings.h>

namespace os {
namespace {

std::string trim(std::string s) {
    const char* blanks = " \t\r\n";
    size_t a = s.find_first_not_of(blanks);
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(blanks);
    return s.substr(a, b - a + 1);
}

bool sameText(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

} // namespace

std::optional<std::string> configString(const char* section, const char* key) {
    const char* path = std::getenv("LIBDOVA_CONF");
    std::ifstream in(path && *path ? path : "/etc/libdova.conf");
    if (!in) return std::nullopt;
    // Keys before any [section] and in [libdova] form the main part.
    bool inMain = true;
    bool inWanted = false;
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = trim(line.substr(1, line.size() - 2));
            inMain = sameText(name, "libdova");
            inWanted = section && sameText(name, section);
            continue;
        }
        bool here = section ? inWanted : inMain;
        if (!here) continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (!sameText(trim(line.substr(0, eq)), key)) continue;
        std::string value = trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

std::optional<uint32_t> configNumber(const char* section, const char* key) {
    auto text = configString(section, key);
    if (!text || text->empty()) return std::nullopt;
    const char* s = text->c_str();
    int base = 10;
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s += 2;
        base = 16;
    }
    if (!*s) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(s, &end, base);
    if (errno != 0 || *end != 0 || v > 0xFFFFFFFFull) return std::nullopt;
    return uint32_t(v);
}

std::string defaultLogPath() {
    return "/var/log/LIBDOVA.LOG";
}

} // namespace os
