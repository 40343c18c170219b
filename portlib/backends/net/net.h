// WNet: a TCP connection to a network printer or print server (type NET,
// raw printing to port 9100 unless the target names another). Direct mode:
// send and recv block the caller on the socket. The base of the whole NET
// and KPNET family, which shares its addressing, connect and close steps.
#pragma once

#include "dova_base.h"
#include "os/os_socket.h"

#include <dova/dova.h>

class WNet : public DovaBase {
public:
    WNet() = default;
    ~WNet() override;

    uint32_t getIFType() override { return DOVA_IF_NET; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "NET"; }

    // 1013 port 0, 1017 no socket, 1018 no valid address or no connection
    // within the connect time-out (INI "ConnectTimeout" in ms, 10 s by
    // default).
    int32_t claim(int32_t timeout) override;
    // Drains for the time-out, then closes gracefully: the printer gets the
    // end of the data and is given the same time-out to close its side.
    int32_t release(int32_t timeout) override;
    // One blocking send: 1101 on failure or when fewer bytes went out.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    // One blocking recv: 0 bytes when the printer closed. 1102 on failure.
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override { return socket_.handle(); }
    int32_t isOpen() override { return socket_.valid() ? 1 : 0; }
    int32_t isReady() override { return 1; }

    int32_t getIP(uint32_t* address) override;
    int32_t setIP(uint32_t address) override;
    int32_t getPort(uint32_t* port) override;
    int32_t setPort(uint32_t port) override;

    // The system's code of the most recent failure, for diagnosis.
    int32_t lastError() const { return lastError_; }

protected:
    // The closing step of a worker-thread or event-driven port's release,
    // given the drain's result: close gracefully unless the drain gave up
    // (the printer takes no data, so waiting for it to close its side would
    // only hold the caller longer). 0 drained and closed, else 1.
    int32_t closeAfterDrain(int32_t drained, int32_t timeout);
    // Connects the open socket to the peer within the connect time-out;
    // traces and stores the error on failure. 0 or the error. A port without
    // a valid address connects nowhere (0.0.0.0 would reach this machine).
    int connectPeer();
    // Shuts the sending side down and reads until the printer closes its
    // side, at most timeoutMs; a failing step ends it. Then shuts both ways.
    // 1 when the printer reset the connection instead (it threw away data
    // it had not read) or, at the time-out, has not taken all that was sent;
    // else 0.
    int32_t closeGracefully(int32_t timeoutMs);

    os::Socket socket_;
    int32_t lastError_ = 0;
    uint32_t address_ = 0; // network byte order
    uint16_t port_ = 9100;
};

// The connect time-out: INI "ConnectTimeout" (ms), 10 s when absent or 0.
uint32_t dovaConnectTimeoutMs();
