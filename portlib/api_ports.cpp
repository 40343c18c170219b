// The handle operations: look the handle up, forward to the port, trace.
#include "factory.h"
#include "handle_table.h"
#include "log.h"
#include "os/os_inet.h"
#include "target_names.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

// Entry line, lookup (1001 when the handle is not open), operation, return line.
template <typename Op> int32_t forward(DOVA_HANDLE h, const char* returnText, Op op) {
    DovaBase* port = dovaHandleFind(h);
    int32_t result = port ? op(port) : DOVA_E_HANDLE;
    dovaLogReturn(h, returnText, result);
    return result;
}

} // namespace

extern "C" DOVA_HANDLE DovaOpenByName(const char* target, int32_t mode) {
    if (!target) target = "";
    dovaLogEnter(0, "DovaOpenByName name='%s'", target);
    int32_t no = -1, ch = -1;
    uint32_t ip = 0, tcp = 0;
    uint32_t type = _DovaWhatIF(target, &no, &ch, &ip, &tcp);
    dovaTrace("%08X = _DovaWhatIF(NO=%d,CH=%d,IP=%s:%d)", type, no, ch, os::inetText(ip).c_str(),
              int(tcp));
    auto created = dovaCreatePort(type, mode);
    if (!created) return DOVA_INVALID_HANDLE;
    DovaBase* port = created.get();
    DOVA_HANDLE h = dovaHandleAdd(std::move(created));
    // The setters' results are not looked at: a refused value shows at claim.
    if (type == DOVA_IF_FILE) port->setName(target);
    if (no != -1) port->setNo(no);
    if (ch != -1) port->setCh(ch);
    if (type & DOVA_IF_IPADDR) {
        if (dovaIsValidIPv4(ip)) port->setIP(ip);
        if (tcp != 0) port->setPort(tcp);
    }
    dovaLogReturn(0, "DovaOpenByName %08X", h);
    return h;
}

extern "C" int32_t DovaClose(DOVA_HANDLE h) {
    dovaLogEnter(h, "DovaClose");
    int32_t result = dovaHandleRemove(h) ? DOVA_OK : DOVA_E_HANDLE;
    dovaLogReturn(h, "DovaClose %d", result);
    return result;
}

extern "C" uint32_t DovaGetIFType(DOVA_HANDLE h) {
    dovaLogEnter(h, "DovaGetIFType");
    DovaBase* port = dovaHandleFind(h);
    uint32_t type = port ? port->getIFType() : DOVA_IF_FILE;
    dovaLogReturn(h, "DovaGetIFType %08X", type);
    return type;
}

extern "C" int32_t DovaClaim(DOVA_HANDLE h, int32_t timeout) {
    dovaLogEnter(h, "DovaClaim dwTimeout=%d", timeout);
    return forward(h, "DovaClaim %d", [&](DovaBase* p) { return p->claim(timeout); });
}

extern "C" int32_t DovaRelease(DOVA_HANDLE h, int32_t timeout) {
    dovaLogEnter(h, "DovaRelease dwTimeout=%d", timeout);
    return forward(h, "DovaRelease %d", [&](DovaBase* p) { return p->release(timeout); });
}

extern "C" int32_t DovaLock(DOVA_HANDLE h, int32_t timeout) {
    dovaLogEnter(h, "DovaLock dwTimeout=%d", timeout);
    return forward(h, "DovaLock %d", [&](DovaBase* p) { return p->lock(timeout); });
}

extern "C" int32_t DovaUnlock(DOVA_HANDLE h, int32_t timeout) {
    dovaLogEnter(h, "DovaUnlock dwTimeout=%d", timeout);
    return forward(h, "DovaUnlock %d", [&](DovaBase* p) { return p->unlock(timeout); });
}

extern "C" int32_t DovaForce(DOVA_HANDLE h, int32_t flag) {
    dovaLogEnter(h, "DovaForce f=%d", flag);
    return forward(h, "DovaForce %d", [&](DovaBase* p) { return p->force(flag); });
}

extern "C" int32_t DovaSetBaudRate(DOVA_HANDLE h, int32_t n) {
    dovaLogEnter(h, "DovaSetBaudRate n=%d", n);
    return forward(h, "DovaSetBaudRate %d", [&](DovaBase* p) { return p->setBaudRate(n); });
}

extern "C" int32_t DovaSetByteSize(DOVA_HANDLE h, int32_t n) {
    dovaLogEnter(h, "DovaSetByteSize n=%d", n);
    return forward(h, "DovaSetByteSize %d", [&](DovaBase* p) { return p->setByteSize(n); });
}

extern "C" int32_t DovaSetParity(DOVA_HANDLE h, int32_t n) {
    dovaLogEnter(h, "DovaSetParity n=%d", n);
    return forward(h, "DovaSetParity %d", [&](DovaBase* p) { return p->setParity(n); });
}

extern "C" int32_t DovaSetStopBits(DOVA_HANDLE h, int32_t n) {
    dovaLogEnter(h, "DovaSetStopBits n=%d", n);
    return forward(h, "DovaSetStopBits %d", [&](DovaBase* p) { return p->setStopBits(n); });
}

extern "C" int32_t DovaSetFlow(DOVA_HANDLE h, int32_t n) {
    dovaLogEnter(h, "DovaSetFlow n=%d", n);
    return forward(h, "DovaSetFlow %d", [&](DovaBase* p) { return p->setFlow(n); });
}

extern "C" int32_t DovaWrite(DOVA_HANDLE h, const void* data, uint32_t length, uint32_t* written,
                             uint32_t tagA, uint32_t tagB, uint32_t tagC) {
    DovaBase* port = dovaHandleFind(h);
    if (!port) return DOVA_E_HANDLE;
    int32_t result = port->send(data, length, written, tagA, tagB, tagC);
    if (written) dovaLogDump('>', h, data, *written);
    return result;
}

extern "C" int32_t DovaRead(DOVA_HANDLE h, void* buffer, uint32_t size, uint32_t* read,
                            uint32_t reserved) {
    DovaBase* port = dovaHandleFind(h);
    if (!port) return DOVA_E_HANDLE;
    int32_t result = port->recv(buffer, size, read, reserved);
    if (read) dovaLogDump('<', h, buffer, *read);
    return result;
}
