// Plays libKZAPI.so. Scripted keys: each function's name for its result
// (KZOpenChannel: the channel, default 7; KZSend: default all offered;
// KZReceive: default the bytes handed out of the read data).
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/vendor/kzapi_library.h"
#pragma GCC visibility pop

using namespace player;

int32_t KZInitialize(void) {
    record("KZInitialize()");
    return int32_t(result("KZInitialize", 0));
}

int32_t KZOpenChannel(int32_t parameterA, const char* channelName, int32_t parameterB) {
    record("KZOpenChannel(" + num(parameterA) + ", " + str(channelName) + ", " + num(parameterB) +
           ")");
    return int32_t(result("KZOpenChannel", 7));
}

#ifndef PLAYER_OPENERS_ONLY
int32_t KZSend(int32_t channel, const uint8_t* data, int32_t size) {
    record("KZSend(" + num(channel) + ", " + num(size) + ")");
    int32_t taken = int32_t(result("KZSend", size));
    if (taken > 0) took(data, size_t(taken < size ? taken : size));
    return taken;
}

int32_t KZReceive(int32_t channel, uint8_t* buffer, int32_t* size, int32_t timeoutMs) {
    record("KZReceive(" + num(channel) + ", " + num(*size) + ", " + num(timeoutMs) + ")");
    int32_t got = int32_t(give(buffer, size_t(*size)));
    *size = got;
    return int32_t(result("KZReceive", got));
}

int32_t KZRelease(void) {
    record("KZRelease()");
    return int32_t(result("KZRelease", 0));
}
#endif
