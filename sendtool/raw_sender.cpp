#include "raw_sender.h"

#include "tick_clock.h"

#include <cerrno>
#include <sys/types.h>

namespace sendtool {

namespace {

constexpr size_t kBlockSize = 4096;

long percentOf(unsigned long long sent, unsigned long long size) {
    // A file without bytes is complete as soon as it is started.
    if (size == 0) return sent == 0 ? 100 : 0;
    return static_cast<long>(static_cast<unsigned __int128>(sent) * 100 / size);
}

unsigned long long fileSize(std::FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return 0;
    off_t end = ftello(file);
    fseeko(file, 0, SEEK_SET);
    return end < 0 ? 0 : static_cast<unsigned long long>(end);
}

// Offers the block until the port has taken all of it. False on a write
// failure (reported on out) or a port that took nothing for the limit.
bool writeBlock(PortIo& port, const uint8_t* data, size_t length, std::FILE* out,
                StallLimit limit) {
    size_t done = 0;
    uint32_t idleSince = 0;
    bool idle = false;
    RetryPause pause;
    while (done < length) {
        uint32_t written = 0;
        errno = 0;
        int32_t result = port.write(data + done, static_cast<uint32_t>(length - done), &written);
        if (result != 0) {
            std::fprintf(out, "err=%d dwErr=%d\n", result, errno);
            return false;
        }
        if (written > length - done) written = static_cast<uint32_t>(length - done);
        if (written != 0) {
            done += written;
            idle = false;
            pause.reset();
            continue;
        }
        uint32_t now = tickCount();
        if (!idle) {
            idle = true;
            idleSince = now;
        } else if (now - idleSince >= limit.giveUpMs) {
            reportStalledPort(limit.giveUpMs);
            return false;
        }
        pause.wait();
    }
    return true;
}

} // namespace

RawResult sendRaw(PortIo& port, std::FILE* file, std::FILE* progress, std::FILE* out,
                  StallLimit limit) {
    if (port.force(0) > 0) return RawResult::ForceFailed;
    // The blocks stay 4096 bytes; the stream reads ahead in far larger
    // pieces, so a big file costs a read call per megabyte, not per block.
    // (The C library takes a size only with a buffer; this one outlives the
    // stream, which is closed after the send.)
    static char readAhead[1 << 20];
    std::setvbuf(file, readAhead, _IOFBF, sizeof readAhead);
    unsigned long long size = fileSize(file);
    unsigned long long sent = 0;
    std::fprintf(progress, "%3ld%%\r", 0L);
    uint8_t block[kBlockSize];
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, file);
        if (got == 0) {
            std::fprintf(progress, "%3ld%%\n", percentOf(sent, size));
            return std::ferror(file) ? RawResult::ReadFailed : RawResult::Sent;
        }
        if (!writeBlock(port, block, got, out, limit)) return RawResult::WriteFailed;
        sent += got;
        std::fprintf(progress, "%3ld%%\r", percentOf(sent, size));
    }
}

} // namespace sendtool
