#include "player.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#ifndef PLAYER_LIBRARY
#error "PLAYER_LIBRARY names the played library"
#endif

namespace player {
namespace {

// Values queued for one key; the last one stays once played, until a new
// one is queued.
struct Values {
    std::deque<int64_t> queue;
    bool lastPlayed = false;
    void push(int64_t value) {
        if (lastPlayed) queue.clear();
        lastPlayed = false;
        queue.push_back(value);
    }
};

struct State {
    std::mutex mutex;
    std::string calls;
    std::string callsCopy;
    std::vector<uint8_t> taken;
    std::deque<uint8_t> toRead;
    std::condition_variable readable;
    std::map<std::string, Values> script;
    bool scriptedFromEnvironment = false;
};

State& state() {
    static State s;
    return s;
}

void append(const char* suffix, const void* data, size_t size) {
    const char* dir = std::getenv("DOVA_PLAYER_DIR");
    if (!dir || !*dir) return;
    std::string path = std::string(dir) + "/" + PLAYER_LIBRARY + suffix;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

// DOVA_PLAYER_SCRIPT, read once under the state's lock.
void scriptFromEnvironment(State& s) {
    if (s.scriptedFromEnvironment) return;
    s.scriptedFromEnvironment = true;
    const char* text = std::getenv("DOVA_PLAYER_SCRIPT");
    if (!text) return;
    std::string all = text;
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos) end = all.size();
        std::string item = all.substr(start, end - start);
        size_t eq = item.find('=');
        if (eq != std::string::npos)
            s.script[item.substr(0, eq)].push(std::strtoll(item.c_str() + eq + 1, nullptr, 0));
        start = end + 1;
    }
}

} // namespace

void record(const std::string& line) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.calls += line + "\n";
    append(".calls", (line + "\n").data(), line.size() + 1);
}

int64_t result(const std::string& key, int64_t fallback) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    scriptFromEnvironment(s);
    auto it = s.script.find(key);
    if (it == s.script.end() || it->second.queue.empty()) return fallback;
    Values& values = it->second;
    int64_t value = values.queue.front();
    if (values.queue.size() > 1)
        values.queue.pop_front();
    else
        values.lastPlayed = true;
    return value;
}

void took(const void* data, size_t size) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    const auto* bytes = static_cast<const uint8_t*>(data);
    s.taken.insert(s.taken.end(), bytes, bytes + size);
    append(".data", data, size);
}

size_t give(void* buffer, size_t size) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    size_t n = std::min(size, s.toRead.size());
    for (size_t i = 0; i < n; ++i) {
        static_cast<uint8_t*>(buffer)[i] = s.toRead.front();
        s.toRead.pop_front();
    }
    return n;
}

size_t giveWithin(void* buffer, size_t size, int timeoutMs) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    s.readable.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [&s] { return !s.toRead.empty(); });
    size_t n = std::min(size, s.toRead.size());
    for (size_t i = 0; i < n; ++i) {
        static_cast<uint8_t*>(buffer)[i] = s.toRead.front();
        s.toRead.pop_front();
    }
    return n;
}

std::string str(const char* text) {
    return text ? "\"" + std::string(text) + "\"" : "null";
}

std::string str16(const char16_t* text) {
    if (!text) return "null";
    std::string out = "L\"";
    for (; *text; ++text)
        out += *text < 0x80 ? char(*text) : '?';
    return out + "\"";
}

std::string num(int64_t value) {
    return std::to_string(value);
}

} // namespace player

extern "C" {

void PlayerReset() {
    auto& s = player::state();
    std::lock_guard lock(s.mutex);
    s.calls.clear();
    s.taken.clear();
    s.toRead.clear();
    s.script.clear();
}

void PlayerScript(const char* key, int64_t value) {
    auto& s = player::state();
    std::lock_guard lock(s.mutex);
    s.script[key].push(value);
}

void PlayerReadData(const void* data, size_t size) {
    auto& s = player::state();
    std::lock_guard lock(s.mutex);
    const auto* bytes = static_cast<const uint8_t*>(data);
    s.toRead.insert(s.toRead.end(), bytes, bytes + size);
    s.readable.notify_all();
}

const char* PlayerCalls() {
    auto& s = player::state();
    std::lock_guard lock(s.mutex);
    s.callsCopy = s.calls;
    return s.callsCopy.c_str();
}

size_t PlayerTaken(void* buffer, size_t size) {
    auto& s = player::state();
    std::lock_guard lock(s.mutex);
    size_t n = std::min(size, s.taken.size());
    if (n) std::memcpy(buffer, s.taken.data(), n);
    return s.taken.size();
}
}
