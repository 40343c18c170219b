// The port operations that the emitters and the raw sender use, as a seam:
// the program passes the library's port, tests can pass a port that accepts
// only part of what it is offered.
#pragma once

#include <cstdint>

namespace sendtool {

class PortIo {
public:
    virtual ~PortIo() = default;
    // DovaWrite with the three tags 0.
    virtual int32_t write(const uint8_t* data, uint32_t length, uint32_t* written) = 0;
    // DovaRead of at most size bytes.
    virtual int32_t read(uint8_t* buffer, uint32_t size, uint32_t* got) = 0;
    // DovaForce.
    virtual int32_t force(int32_t on) = 0;
    // Whether the port prints what it takes on this process's standard
    // output (the console and dump ports).
    virtual bool printsOnOurOutput() const { return false; }
};

// A port of the library, by its handle.
class DovaPort final : public PortIo {
public:
    // Ports that print to this process's standard output (console and dump)
    // get our own buffered output flushed before each call, so that their
    // lines and ours come out in the order in which they were made.
    DovaPort(uint32_t handle, bool sharesStdout) : handle_(handle), sharesStdout_(sharesStdout) {}

    int32_t write(const uint8_t* data, uint32_t length, uint32_t* written) override;
    int32_t read(uint8_t* buffer, uint32_t size, uint32_t* got) override;
    int32_t force(int32_t on) override;
    bool printsOnOurOutput() const override { return sharesStdout_; }

private:
    uint32_t handle_;
    bool sharesStdout_;
};

} // namespace sendtool
