// What every played device library shares: the record of calls and the
// scripted results. Each played library links its own copy (its symbols stay
// inside it), so two libraries in one process keep separate records.
//
// The test drives a played library through its Player* functions, found in
// the same loaded module as the functions libdova calls. A program run by a
// test (prnfeed) is driven through the environment instead:
// DOVA_PLAYER_DIR=<folder> makes the library append each call line to
// <folder>/<library>.calls and the bytes it was given to <folder>/<library>.data,
// and DOVA_PLAYER_SCRIPT="Key=value;Key=value" scripts results at load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace player {

// Appends one call line, e.g. call("WritePort", {num(h), num(n)}).
void record(const std::string& line);
// The scripted value of key (a function's name for its result, or
// "<function>.<out value>"), else fallback. Values queued for a key are
// played in order, the last one staying for every later call until a new
// value is queued.
int64_t result(const std::string& key, int64_t fallback);
// Bytes the library was given to send.
void took(const void* data, size_t size);
// Bytes scripted for the next reads, at most size of them.
size_t give(void* buffer, size_t size);
// As give, but a library call with a time-out of its own waits up to
// timeoutMs for bytes to be scripted (PlayerReadData wakes it).
size_t giveWithin(void* buffer, size_t size, int timeoutMs);

std::string str(const char* text);
std::string str16(const char16_t* text);
std::string num(int64_t value);

} // namespace player

// Control functions of every played library.
#pragma GCC visibility push(default)
extern "C" {
void PlayerReset();
void PlayerScript(const char* key, int64_t value);
void PlayerReadData(const void* data, size_t size);
// The call lines so far, one per line; valid until the next call.
const char* PlayerCalls();
size_t PlayerTaken(void* buffer, size_t size);
}
#pragma GCC visibility pop
