// WIOM: a printer behind the I/O module library, direct. The target's
// channel picks the connection (1 serial, 2 USB, 3 network); the library is
// loaded at each claim and unloaded at each release, since the module keeps
// its connection in the library's own state. Line settings are kept here
// and handed to the module at claim, and at once while it is open; the
// address and the time-outs are only kept.
#pragma once

#include "backends/vendor/iomodule_library.h"
#include "dova_base.h"
#include "os/os_library.h"

#include <cstddef>

class WIOM : public DovaBase {
public:
    // Room of the port name, its terminator included.
    static constexpr size_t nameSize = 260;

    ~WIOM() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    // The port name the last claim gave the module ("COM1"), else "".
    int32_t getName(char* name) override;
    int32_t getNo(int32_t* no) override;
    // Also forgets the port name.
    int32_t setNo(int32_t no) override;
    int32_t getCh(int32_t* ch) override;
    int32_t setCh(int32_t ch) override;

    // 9998 when the library, its two functions or the module are missing;
    // 1014 when a connection step, a line setting or the open is refused.
    int32_t claim(int32_t timeout) override;
    int32_t release(int32_t timeout) override;
    // The module's count with result 0, whatever the module answered.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;

    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

    int32_t getCommTimeouts(DovaCommTimeouts* timeouts) override;
    int32_t setCommTimeouts(const DovaCommTimeouts* timeouts) override;
    // A value the module has no form for, or one it refuses while open: 1030,
    // and the value kept is the one before.
    int32_t getBaudRate(int32_t* value) override;
    int32_t setBaudRate(int32_t value) override;
    int32_t getByteSize(int32_t* value) override;
    int32_t setByteSize(int32_t value) override;
    int32_t getParity(int32_t* value) override;
    int32_t setParity(int32_t value) override;
    int32_t getStopBits(int32_t* value) override;
    int32_t setStopBits(int32_t value) override;
    int32_t getFlow(int32_t* value) override;
    int32_t setFlow(int32_t value) override;
    int32_t getIP(uint32_t* address) override;
    int32_t setIP(uint32_t address) override;

protected:
    IOModule* module() const { return module_; }
    // The steps of claim after its trace line and release(0): load the
    // library and make the module (9998), then set up the connection (1014).
    int32_t openModule();
    // The module's open: true when it answered 0.
    bool openConnection();
    // Every line setting in order, as far as the module accepts them.
    bool applyLineSettings();
    // Unlock, close, delete the module, unload the library.
    void closeModule();

private:
    bool connect();
    // Hands one setting to the module when it is loaded; false when the
    // value has no module form or the module refuses it.
    bool applyBaudRate(int32_t value);
    bool applyByteSize(int32_t value);
    bool applyParity(int32_t value);
    bool applyStopBits(int32_t value);
    bool applyFlow(int32_t value);

    os::Library library_;
    IOModule* module_ = nullptr;
    void (*deleteModule_)(IOModule*) = nullptr;
    int32_t no_ = 1;
    int32_t kind_ = 1;
    char portName_[nameSize] = {};
    uint32_t ip_ = 0;
    DovaCommState line_{9600, 8, 0, 0, 1};
    DovaCommTimeouts timeouts_{100, 0, 2000, 0, 2000};
};
