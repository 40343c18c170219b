// A datagram on a KP printer's status channel, offered as the reply to each
// request the backend sends. The datagram sits in a buffer of exactly its
// length (the channel's receive buffer holds 512 bytes, so a longer one
// arrives cut), so reading past what the printer sent is caught.
//
// A reply that matches must carry the magic letters and the request's code,
// and a query's text must be the reply's data up to its first NUL, cut to
// the query's room and terminated inside the caller's buffer.
#include "backends/net/net_kpnet.h"
#include "backends/net/net_status_channel.h"

#include <dova/dova.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Query {
    uint16_t command;
    uint32_t replyLength;
    uint32_t room; // text bytes the caller's buffer takes, without its NUL
};
// The text, code and check queries.
constexpr Query kQueries[] = {{0x00, 147, 133}, {0x10, 27, 13}, {0x17, 18, 0}};

void check(bool ok) {
    if (!ok) std::abort();
}

bool matchesChecked(const std::vector<uint8_t>& request, const uint8_t* reply, uint32_t length) {
    const bool m = WUdpc::matches(request.data(), uint32_t(request.size()), reply, length);
    if (m) {
        check(length > 13);
        check(std::memcmp(reply, "ORVAN", 5) == 0);
        check(reply[5] == request[5] + ('a' - 'A'));
        check(std::memcmp(reply + 6, request.data() + 6, 4) == 0);
    }
    return m;
}

void queries(const uint8_t* reply, uint32_t length) {
    for (const Query& q : kQueries) {
        const auto request = WUdpc::packet('Q', q.command);
        if (!matchesChecked(request, reply, length)) continue;
        // One guard byte past the room the caller promised.
        std::vector<char> out(q.room + 2, '\x7f');
        const int32_t r = WKpnet::readQueryReply(reply, length, q.replyLength,
                                                 q.room ? out.data() : nullptr, q.room);
        check(r == DOVA_OK || r == DOVA_E_DEVSTATUS);
        check(r != DOVA_OK || length == q.replyLength);
        check(r != DOVA_OK || WUdpc::result(reply) == 0);
        if (r != DOVA_OK || q.room == 0) {
            check(out[0] == '\x7f');
            continue;
        }
        const size_t n = strnlen(out.data(), q.room + 1);
        check(n <= q.room);
        check(out[q.room + 1] == '\x7f');
        check(std::memcmp(out.data(), reply + 14, n) == 0);
        check(n == q.room || reply[14 + n] == 0);
    }
}

void commands(const uint8_t* reply, uint32_t length) {
    for (uint8_t state : {uint8_t(0), uint8_t(1)}) {
        const auto request = WUdpc::packet('C', 0x15, {state});
        if (!matchesChecked(request, reply, length)) continue;
        const int32_t r = WKpnet::readForceReply(reply, length, state);
        check(r == DOVA_OK || r == DOVA_E_DEVSTATUS || r == 1);
        check(r != DOVA_OK || (length == 15 && reply[14] == state && WUdpc::result(reply) == 0));
    }
    // The reset request only reads the result.
    matchesChecked(WUdpc::packet('C', 0x12, {0}), reply, length);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint32_t length = uint32_t(size < 512 ? size : 512);
    auto reply = std::make_unique<uint8_t[]>(length);
    if (length) std::memcpy(reply.get(), data, length);
    queries(reply.get(), length);
    commands(reply.get(), length);
    return 0;
}
