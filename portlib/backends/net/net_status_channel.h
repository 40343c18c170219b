// WUdpc: the UDP status channel of a KP network printer (port 3289 of the
// printer, or the INI value "StatusPort"). A request is sent, and sent again
// after each wait of the time-out without a matching reply, up to a number of
// tries. Runs on the caller's thread.
//
// Packets, big-endian: "ORVAN", type ('Q' query, 'C' command; the reply has
// it in lower case), request code 03 00 <command:16>, result (reply; 0 is
// success), parameter length, parameters (reply: data).
#pragma once

#include "os/os_event.h"
#include "os/os_socket.h"

#include <cstdint>
#include <vector>

class WUdpc {
public:
    static constexpr uint16_t kDefaultPort = 3289;

    ~WUdpc() { close(); }

    void setTarget(uint32_t address) { address_ = address; }
    // 0, 1017 no socket, 1016 no cancel event.
    int32_t open();
    void close();
    bool isOpen() const { return socket_.valid(); }

    // 0 a matching reply is in reply(); 1 none after all tries; 1023
    // cancelled or the peer's socket closed; 1025 send failed; 1026 receive failed.
    int32_t request(const uint8_t* packet, uint32_t length, uint32_t timeoutMs, int tries);
    const uint8_t* reply() const { return buffer_; }
    uint32_t replyLength() const { return replyLength_; }

    // A request packet: type, command number and parameter bytes.
    static std::vector<uint8_t> packet(char type, uint16_t command,
                                       const std::vector<uint8_t>& params = {});
    // Whether a datagram answers the request (see the header comment).
    static bool matches(const uint8_t* request, uint32_t requestLength, const uint8_t* reply,
                        uint32_t replyLength);
    // The reply's result field.
    static uint16_t result(const uint8_t* reply) { return uint16_t(reply[10] << 8 | reply[11]); }

private:
    os::Socket socket_;
    uint32_t address_ = 0;
    uint16_t port_ = kDefaultPort;
    uint32_t fromAddress_ = 0;
    int fromLength_ = 0;
    bool cancel_ = false;
    os::Event cancelEvent_;
    uint8_t buffer_[512] = {};
    uint32_t replyLength_ = 0;
};
