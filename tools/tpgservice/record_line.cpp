#include "record_line.h"

#include "profile_fields.h"

namespace tpgservice {

std::string recordField(std::string_view value) {
    if (value.find_first_of("|\"\r\n") == std::string_view::npos) return std::string(value);
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string recordLine(const std::string& id, const std::map<std::string, std::string>& profile) {
    std::string line;
    bool first = true;
    for (std::string_view slot : recordLayout()) {
        if (!first) line += '|';
        first = false;
        if (slot == "id") {
            line += recordField(id);
        } else if (!slot.empty()) {
            auto it = profile.find(std::string(slot));
            if (it != profile.end()) line += recordField(it->second);
        }
    }
    line += '\n';
    return line;
}

} // namespace tpgservice
