// Script actions that record what the scanner asked for.
#pragma once

#include "script_actions.h"
#include "script_scanner.h"

#include <cstdio>
#include <string>
#include <vector>

namespace sendtool_test {

class RecordingScript : public sendtool::ScriptActions {
public:
    std::string bytes;
    // Line commands and polls in order, e.g. "poll", "message:text".
    std::vector<std::string> events;

    void byte(uint8_t value) override { bytes.push_back(static_cast<char>(value)); }
    void poll() override { events.push_back("poll"); }
    void message(std::string_view text) override {
        events.push_back("message:" + std::string(text));
    }
    void prompt(std::string_view text) override { events.push_back("prompt:" + std::string(text)); }
    void delay(std::string_view text) override { events.push_back("delay:" + std::string(text)); }
};

// Runs the scanner over an in-memory script.
inline RecordingScript scan(const std::string& script) {
    RecordingScript recorder;
    std::string copy = script;
    std::FILE* f = fmemopen(copy.data(), copy.size(), "r");
    if (copy.empty()) f = std::fopen("/dev/null", "r");
    sendtool::runScript(f, recorder);
    std::fclose(f);
    return recorder;
}

} // namespace sendtool_test
