// Defaults of the port interface: "not supported" without touching a device.
#include "dova_base.h"

#include <algorithm>

#include "os/os_clock.h"

#include <cstring>

#include <dova/dova.h>

int32_t DovaBase::getName(char* name) {
    if (name) name[0] = 0;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setName(const char* /*name*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getNo(int32_t* no) {
    if (no) *no = -1;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setNo(int32_t /*no*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getCh(int32_t* ch) {
    if (ch) *ch = -1;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setCh(int32_t /*ch*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::release(int32_t /*timeout*/) {
    return DOVA_OK;
}

int32_t DovaBase::lock(int32_t /*timeout*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::unlock(int32_t /*timeout*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reset() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::force(int32_t /*on*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setHostBusy(int32_t /*busy*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getSendCount(uint32_t* count) {
    if (!count) return DOVA_E_PARAM;
    *count = 0;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getRecvCount(uint32_t* count) {
    if (!count) return DOVA_E_PARAM;
    *count = 0;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::purgeSend() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::purgeRecv() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved1(uint32_t* value) {
    if (value) *value = 0;
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved2() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getSendQueueType(int32_t* /*type*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setSendQueueType(int32_t /*type*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getRecvQueueType(int32_t* /*type*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setRecvQueueType(int32_t /*type*/) {
    return DOVA_E_NOTSUPPORTED;
}

uint32_t DovaBase::getSendBufferSize() {
    return 0;
}

uint32_t DovaBase::getRecvBufferSize() {
    return 0;
}

uint32_t DovaBase::getSendBlockSize() {
    return 0;
}

uint32_t DovaBase::getRecvBlockSize() {
    return 0;
}

int32_t DovaBase::setSendBufferSize(uint32_t /*bytes*/) {
    return 0;
}

int32_t DovaBase::setRecvBufferSize(uint32_t /*bytes*/) {
    return 0;
}

int32_t DovaBase::setSendBlockSize(uint32_t /*bytes*/) {
    return 0;
}

int32_t DovaBase::setRecvBlockSize(uint32_t /*bytes*/) {
    return 0;
}

int32_t DovaBase::getCommTimeouts(DovaCommTimeouts* /*timeouts*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setCommTimeouts(const DovaCommTimeouts* /*timeouts*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getModemStatus(uint32_t* /*status*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::escapeCommFunction(uint32_t /*function*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getCommState(DovaCommState* /*state*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setCommState(const DovaCommState* /*state*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getBaudRate(int32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setBaudRate(int32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getByteSize(int32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setByteSize(int32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getParity(int32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setParity(int32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getStopBits(int32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setStopBits(int32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getFlow(int32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setFlow(int32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getDeviceIdSize(uint32_t* /*size*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getDeviceId(char* /*buffer*/, uint32_t /*size*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::get1284Mode(uint16_t* /*readMask*/, uint16_t* /*writeMask*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getParStatus(uint8_t* /*status*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setParInfo(uint8_t /*init*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setVendorId(uint16_t /*vendorId*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setProductId(uint16_t /*productId*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getLptStatus(uint8_t* /*status*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::get1284Id(char* /*buffer*/, uint32_t /*size*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::vendorSetCommand() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::vendorGetCommand() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::softReset() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getDriverInfo(uint32_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getDriverWord(uint16_t* /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getDeviceStatus(uint16_t* /*status*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setDeviceControl(uint16_t /*control*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getIP(uint32_t* /*address*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setIP(uint32_t /*address*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getPort(uint32_t* /*port*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setPort(uint32_t /*port*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::queryDeviceText(char* /*text*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::queryDeviceCode(char* /*code*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::queryDeviceCheck(uint32_t /*unused*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::startDocPrinter(uint32_t /*level*/, const void* /*docInfo*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::startPagePrinter() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::endPagePrinter() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::endDocPrinter() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getJob(uint32_t /*jobId*/, uint32_t /*level*/, void* /*buffer*/,
                         uint32_t /*size*/, uint32_t* /*needed*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setJob(uint32_t /*jobId*/, uint32_t /*level*/, const void* /*buffer*/,
                         uint32_t /*command*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getPrinter(uint32_t /*level*/, void* /*buffer*/, uint32_t /*size*/,
                             uint32_t* /*needed*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setPrinter(uint32_t /*level*/, const void* /*buffer*/, uint32_t /*command*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved3(uint32_t /*a*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved4(uint32_t /*a*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved5() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved6() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved7(uint32_t /*a*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved8(uint32_t /*a*/, uint32_t /*b*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved9() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved10() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::deviceStatus(uint32_t /*which*/, void* /*buffer*/, void* /*size*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getEnvVars(void* /*buffer*/, uint32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getEnvVar(uint32_t /*station*/, void* /*buffer*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::getCodePage(uint32_t /*value*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::setCodePage(uint32_t /*a*/, uint32_t /*b*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved11(uint32_t /*a*/, uint32_t /*b*/, uint32_t /*c*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved12(uint32_t /*a*/, uint32_t /*b*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved13(uint32_t /*a*/, uint32_t /*b*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::reserved14() {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::ioctl(uint32_t /*a*/, uint32_t /*b*/, uint32_t /*c*/, uint32_t /*d*/,
                        uint32_t /*e*/, uint32_t /*f*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::registerCallback(uint32_t /*code*/, void* /*callback*/, void* /*context*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::unregisterCallback(uint32_t /*code*/, void* /*callback*/, void* /*context*/) {
    return DOVA_E_NOTSUPPORTED;
}

int32_t DovaBase::waitSendDone(int32_t timeout) {
    if (timeout == 0) return 0;
    // The time-out bounds the time without progress, not the total time: a
    // port that keeps sending slowly is waited for as long as the count
    // moves. A negative time-out is the very long unsigned time it stands for.
    const uint64_t limit = uint32_t(timeout);
    uint32_t count = 0;
    getSendCount(&count);
    uint32_t since = os::tickCount();
    while (count != 0) {
        const uint64_t stalled = uint32_t(os::tickCount() - since);
        if (stalled > limit) return 1;
        // Ports without a queue of their own have nothing to wake the caller
        // with: look again soon.
        os::sleepMs(uint32_t(std::min<uint64_t>(limit - stalled + 1, 10)));
        uint32_t now = 0;
        getSendCount(&now);
        if (now != count) {
            count = now;
            since = os::tickCount();
        }
    }
    return 0;
}
