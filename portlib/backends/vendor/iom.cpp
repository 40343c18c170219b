#include "backends/vendor/iom.h"

#include "os/os_text.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>
#include <cstring>
#include <string>

// Calls slot `function` of interface `table` of the module, or answers
// `missing` when the module leaves that slot empty.
#define IOM_CALL(table, function, missing, ...)                                                    \
    ((module_ && module_->table && module_->table->function)                                       \
         ? module_->table->function(module_ __VA_OPT__(, ) __VA_ARGS__)                            \
         : (missing))

namespace {

// The module's connection kinds.
constexpr int32_t kindSerial = 1;
constexpr int32_t kindUsb = 2;
constexpr int32_t kindNetwork = 4;

constexpr uint32_t directTimeoutMs = 1000;

bool acceptedBaudRate(int32_t value) {
    static constexpr int32_t rates[] = {110,   300,   600,   1200,   2400,   4800,  9600,
                                        19200, 38400, 57600, 115200, 128000, 256000};
    for (int32_t rate : rates)
        if (rate == value) return true;
    return false;
}

// The module's values of the line settings, -1 where it has none.
int32_t moduleParity(int32_t parity) {
    switch (parity) {
    case DOVA_PARITY_NONE:
        return 0;
    case DOVA_PARITY_ODD:
        return 2;
    case DOVA_PARITY_EVEN:
        return 1;
    default:
        return -1;
    }
}

int32_t moduleStopBits(int32_t stopBits) {
    return stopBits >= 0 && stopBits <= 2 ? stopBits : -1;
}

int32_t moduleFlow(int32_t flow) {
    switch (flow) {
    case DOVA_FLOW_NONE:
        return 0;
    case DOVA_FLOW_DTRDSR:
        return 2;
    case DOVA_FLOW_RTSCTS:
        return 3;
    case DOVA_FLOW_XONXOFF:
        return 1;
    default:
        return -1;
    }
}

} // namespace

WIOM::~WIOM() {
    release(0);
}

uint32_t WIOM::getIFType() {
    return DOVA_IF_IOM;
}

int32_t WIOM::getAsyncMode() {
    return 0;
}

const char* WIOM::getTypeName() {
    return "IOM";
}

int32_t WIOM::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, portName_, std::strlen(portName_) + 1);
    return DOVA_OK;
}

int32_t WIOM::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WIOM::setNo(int32_t no) {
    no_ = no;
    portName_[0] = 0;
    return DOVA_OK;
}

int32_t WIOM::getCh(int32_t* ch) {
    if (!ch) return DOVA_E_PARAM;
    *ch = kind_;
    return DOVA_OK;
}

int32_t WIOM::setCh(int32_t ch) {
    kind_ = ch;
    return DOVA_OK;
}

int32_t WIOM::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WIOM::claim()\n");
    release(0);
    if (int32_t r = openModule(); r != DOVA_OK) return r;
    if (!applyLineSettings() || !openConnection()) {
        release(0);
        return DOVA_E_OPEN;
    }
    return DOVA_OK;
}

int32_t WIOM::openModule() {
    std::string why;
    library_ = os::Library::load("IOModule.dll", &why);
    if (!library_.isLoaded()) dovaTrace("DOVA: IOModule.dll not loaded: %.900s\n", why.c_str());
    auto create = library_.function<IOModule* (*)()>("CreateIOModule");
    auto destroy = library_.function<void (*)(IOModule*)>("DeleteIOModule");
    IOModule* module = create && destroy ? create() : nullptr;
    if (!module) {
        library_.close();
        return DOVA_E_IOMODULE;
    }
    module_ = module;
    deleteModule_ = destroy;
    if (!connect()) {
        // The module is made: release takes it down as it does after use.
        release(0);
        return DOVA_E_OPEN;
    }
    return DOVA_OK;
}

bool WIOM::connect() {
    if (kind_ == 1 || kind_ == 2) {
        bool serial = kind_ == 1;
        int32_t moduleKind = serial ? kindSerial : kindUsb;
        int32_t count = IOM_CALL(connection, countPorts, 0, moduleKind);
        dovaTrace(serial ? "DOVA:  Count COM=%d\n" : "DOVA:  Count USB=%d\n", count);
        if (count == 0) return false;
        if (!IOM_CALL(connection, selectKind, 0, moduleKind)) return false;
        std::snprintf(portName_, sizeof portName_, serial ? "COM%d" : "USB%d", no_);
        std::u16string wide = os::toUtf16(portName_, nameSize - 1);
        // The serial name is counted without its terminator, the USB one with it.
        int32_t length = int32_t(wide.size()) + (serial ? 0 : 1);
        return IOM_CALL(connection, setPortName, 0, wide.c_str(), length) != 0;
    }
    if (kind_ == 3) {
        // The stored address is not the module's business: it finds the
        // device on the network itself.
        if (!IOM_CALL(connection, selectKind, 0, kindNetwork)) return false;
        if (!IOM_CALL(connection, setNetworkAddress, 0, u"", 0)) return false;
        return IOM_CALL(connection, setNetworkPort, 0, u"", 0) != 0;
    }
    return false;
}

bool WIOM::openConnection() {
    return IOM_CALL(main, open, -1) == 0;
}

bool WIOM::applyLineSettings() {
    return applyBaudRate(line_.baudRate) && applyByteSize(line_.byteSize) &&
           applyParity(line_.parity) && applyStopBits(line_.stopBits) && applyFlow(line_.flow);
}

bool WIOM::applyBaudRate(int32_t value) {
    if (!acceptedBaudRate(value)) return false;
    return !module_ || IOM_CALL(connection, setBaudRate, 0, value) != 0;
}

bool WIOM::applyByteSize(int32_t value) {
    return !module_ || IOM_CALL(connection, setByteSize, 0, value) != 0;
}

bool WIOM::applyParity(int32_t value) {
    int32_t parity = moduleParity(value);
    if (parity < 0) return false;
    return !module_ || IOM_CALL(connection, setParity, 0, parity) != 0;
}

bool WIOM::applyStopBits(int32_t value) {
    int32_t stopBits = moduleStopBits(value);
    if (stopBits < 0) return false;
    return !module_ || IOM_CALL(connection, setStopBits, 0, stopBits) != 0;
}

bool WIOM::applyFlow(int32_t value) {
    int32_t flow = moduleFlow(value);
    if (flow < 0) return false;
    return !module_ || IOM_CALL(connection, setFlow, 0, flow) != 0;
}

int32_t WIOM::release(int32_t timeout) {
    if (!module_) return DOVA_OK;
    dovaTrace("DOVA: WIOM::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeModule();
    return result;
}

void WIOM::closeModule() {
    IOM_CALL(io, unlock, 0);
    IOM_CALL(main, close, 0);
    deleteModule_(module_);
    module_ = nullptr;
    deleteModule_ = nullptr;
    library_.close();
}

int32_t WIOM::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                   uint32_t) {
    if (written) *written = 0;
    if (!module_) return DOVA_E_WRITE;
    uint32_t count = 0;
    IOM_CALL(io, write, 0, static_cast<const uint8_t*>(data), length, &count, directTimeoutMs);
    if (written) *written = count < length ? count : length;
    return DOVA_OK;
}

int32_t WIOM::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!module_) return DOVA_E_READ;
    uint32_t count = 0;
    IOM_CALL(io, read, 0, static_cast<uint8_t*>(buffer), size, &count, directTimeoutMs);
    if (read) *read = count < size ? count : size;
    return DOVA_OK;
}

int32_t WIOM::lock(int32_t timeout) {
    if (!module_) return DOVA_E_LOCK;
    return IOM_CALL(io, lock, -1, uint32_t(timeout)) == 0 ? DOVA_OK : DOVA_E_LOCK;
}

int32_t WIOM::unlock(int32_t /*timeout*/) {
    if (!module_) return DOVA_E_UNLOCK;
    return IOM_CALL(io, unlock, -1) == 0 ? DOVA_OK : DOVA_E_UNLOCK;
}

intptr_t WIOM::getHandle() {
    return module_ ? reinterpret_cast<intptr_t>(module_) : -1;
}

int32_t WIOM::isOpen() {
    return module_ ? 1 : 0;
}

int32_t WIOM::isReady() {
    return 1;
}

int32_t WIOM::getCommTimeouts(DovaCommTimeouts* timeouts) {
    if (!timeouts) return DOVA_E_PARAM;
    *timeouts = timeouts_;
    return DOVA_OK;
}

int32_t WIOM::setCommTimeouts(const DovaCommTimeouts* timeouts) {
    if (!timeouts) return DOVA_E_PARAM;
    timeouts_ = *timeouts;
    return DOVA_OK;
}

// The getters return what was stored; the setters store what the module
// took (or, while it is not loaded, what it will be given).
#define IOM_LINE_VALUE(Name, field)                                                                \
    int32_t WIOM::get##Name(int32_t* value) {                                                      \
        if (!value) return DOVA_E_PARAM;                                                           \
        *value = line_.field;                                                                      \
        return DOVA_OK;                                                                            \
    }                                                                                              \
    int32_t WIOM::set##Name(int32_t value) {                                                       \
        if (!apply##Name(value)) return DOVA_E_PARAM;                                              \
        line_.field = value;                                                                       \
        return DOVA_OK;                                                                            \
    }

IOM_LINE_VALUE(BaudRate, baudRate)
IOM_LINE_VALUE(ByteSize, byteSize)
IOM_LINE_VALUE(Parity, parity)
IOM_LINE_VALUE(StopBits, stopBits)
IOM_LINE_VALUE(Flow, flow)

int32_t WIOM::getIP(uint32_t* address) {
    if (!address) return DOVA_E_PARAM;
    *address = ip_;
    return DOVA_OK;
}

int32_t WIOM::setIP(uint32_t address) {
    ip_ = address;
    return DOVA_OK;
}
