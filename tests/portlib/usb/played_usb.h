// What a pseudo-terminal and a plain file do not answer, played through the
// seam's injectable calls for the life of the object: the usblp requests on
// the printer's node and the control transfers on its usbfs node. Every
// other request reaches the real call. Sleeps can be made instant, so a
// test runs force's 1000 rounds without waiting them out.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct PlayedControl {
    uint8_t requestType;
    uint8_t request;
    uint16_t value;
    uint16_t index;
    uint16_t length;
};

class PlayedUsb {
public:
    PlayedUsb();
    ~PlayedUsb();
    PlayedUsb(const PlayedUsb&) = delete;
    PlayedUsb& operator=(const PlayedUsb&) = delete;

    // LPGETSTATUS's byte; the IEEE 1284 id the printer gives (length bytes
    // included); whether the class requests fail.
    std::atomic<int> portStatus{0x18};
    std::string deviceId;
    std::atomic<bool> classFails{false};
    std::atomic<int> softResets{0};

    // The answer of every vendor IN request: its bytes, little-endian words
    // as a device sends them. The status answer is the device status word.
    std::atomic<uint16_t> deviceStatus{0};
    std::atomic<uint16_t> driverWord{0x1234};
    // After this many status answers the status becomes statusAfter
    // (negative: never).
    std::atomic<int> statusChangesAfter{-1};
    std::atomic<uint16_t> statusAfter{0};
    std::atomic<bool> controlFails{false};

    // Sleeps return at once while set; counted either way.
    std::atomic<bool> instantSleeps{false};
    std::atomic<int> sleeps{0};

    std::vector<PlayedControl> controls();
    int statusRequests();
    // The paths the seam opened (the usbfs nodes among them).
    std::vector<std::string> opened();

private:
    friend int playedUsbIoctl(int, unsigned long, void*);
    friend int playedUsbOpen(const char*, int, mode_t);
    std::mutex lock_;
    std::vector<PlayedControl> controls_;
    std::vector<std::string> opened_;
    int statusRequests_ = 0;
};
