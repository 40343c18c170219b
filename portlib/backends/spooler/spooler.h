// WSpooler: raw print jobs through the system's print spooler, one class for
// every open mode (the spooler queues the data itself, so there is no worker).
//
// claim opens the printer WSpoolerBase names (it must exist and take jobs).
// lock starts one job titled "LIBDOVA" with one document of raw data; send
// adds to it, unlock ends it and the job prints; release ends a job the
// caller left open, so it still prints. Sent bytes are gathered and handed
// to the spooler in large pieces: a caller writing one byte at a time must
// not cost one spooler request per byte. A failure to hand data over shows
// at the send that flushed, or at the end of the document.
#pragma once

#include "backends/spooler/spooler_base.h"
#include "os/os_spooler.h"

#include <cstdint>
#include <vector>

class WSpooler : public WSpoolerBase {
public:
    // Bytes gathered before they go to the spooler in one request.
    static constexpr size_t chunkSize = 64 * 1024;

    ~WSpooler() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // Data outside a document fails with 1101.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    // The spooler gives nothing back: reads nothing and fails at once (1102).
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

    // docInfo: a DovaDocInfo1 at level 1, or null for a raw document named
    // "LIBDOVA". Only raw data to the printer itself is offered.
    int32_t startDocPrinter(uint32_t level, const void* docInfo) override;
    int32_t startPagePrinter() override;
    int32_t endPagePrinter() override;
    int32_t endDocPrinter() override;
    // The spooler's own job and printer records have no counterpart here:
    // these four answer 9999.
    int32_t getJob(uint32_t jobId, uint32_t level, void* buffer, uint32_t size,
                   uint32_t* needed) override;
    int32_t setJob(uint32_t jobId, uint32_t level, const void* buffer, uint32_t command) override;
    int32_t getPrinter(uint32_t level, void* buffer, uint32_t size, uint32_t* needed) override;
    int32_t setPrinter(uint32_t level, const void* buffer, uint32_t command) override;

private:
    bool flush(std::string* why);

    os::SpoolerPrinter printer_;
    std::vector<uint8_t> pending_;
};
