// WKpnet: a KP network receipt printer (type KPNET). The data path is WNet's
// TCP connection; beside it a UDP status channel (WUdpc) resets the printer,
// switches forced sending and answers three queries. Every status request
// waits 1000 ms for a reply and is sent at most three times.
#pragma once

#include "backends/net/net.h"
#include "backends/net/net_status_channel.h"

class WKpnet : public WNet {
public:
    ~WKpnet() override;

    uint32_t getIFType() override { return DOVA_IF_KPNET; }
    const char* getTypeName() override { return "KPNET"; }

    // 1028 address not usable, 1013 port 0, 1017, the status channel's
    // error, 1018.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;

    // 0, 1004 the printer reports a fault, or the status request's result.
    int32_t reset() override;
    // Up to three passes, a second apart, until the printer confirms the
    // state: 0, 1004, a request's error, or 1 when never confirmed.
    int32_t force(int32_t on) override;
    // text: at least 134 bytes, gets at most 133 characters and a NUL.
    int32_t queryDeviceText(char* text) override;
    // code: at least 14 bytes, gets at most 13 characters and a NUL.
    int32_t queryDeviceCode(char* code) override;
    int32_t queryDeviceCheck(uint32_t unused) override;

    // What a status reply that matched its request says. A query's reply:
    // 0 with up to dataLength data bytes copied as a text into out (when
    // given), 1004 for a non-zero result or a length other than
    // expectedLength. A force reply: 0 the printer is in `state`, 1004 it
    // reports a fault, 1 not switched yet.
    static int32_t readQueryReply(const uint8_t* reply, uint32_t length, uint32_t expectedLength,
                                  char* out, uint32_t dataLength);
    static int32_t readForceReply(const uint8_t* reply, uint32_t length, uint8_t state);

protected:
    // The first claim steps of the family: trace, release(0), check the
    // address and port, make the TCP socket, open the status channel.
    int32_t claimSocketAndChannel(const char* className);
    // Sends a request with the family's time-out and tries.
    int32_t statusRequest(const std::vector<uint8_t>& packet);
    // A query whose reply must have the given total length; copies up to
    // dataLength data bytes as a text into out.
    int32_t query(uint16_t command, uint32_t replyLength, char* out, uint32_t dataLength);

    WUdpc status_;
};
