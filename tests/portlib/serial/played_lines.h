// What a pseudo-terminal does not answer, played through the seam's
// injectable ioctl for the life of the object: modem lines, break, the
// parallel status and init requests. Every other request reaches the real
// driver; the line settings put on it are recorded too.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct PlayedLines {
    // TIOCM_* bits the line reports; DTR and RTS follow what the port sets.
    std::atomic<int> lines{0};
    // Line requests fail as on a line without modem control.
    std::atomic<bool> noModemControl{false};
    // LPGETSTATUS answer (LP_* bits), and whether LPRESET is refused.
    std::atomic<int> lpStatus{0};
    std::atomic<bool> lpResetFails{false};
    std::atomic<int> modemReads{0};

    // The modem-line, break and setting requests in order: "DTR+", "RTS-",
    // "BRK+", "BRK-", "SET cflag=%x iflag=%x", "LPRESET", "CLOSE".
    std::vector<std::string> calls();
    void clear();
    // The number of line-setting requests made so far.
    int settings();
    // The c_cflag of the last line settings put on the line.
    uint32_t lastCflag();

    PlayedLines();
    ~PlayedLines();
    void record(const std::string& call);

private:
    std::mutex lock_;
    std::vector<std::string> calls_;
    uint32_t lastCflag_ = 0;
    int settings_ = 0;
    friend int playedIoctl(int, unsigned long, void*);
};
