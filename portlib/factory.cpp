#include "factory.h"

#include "port_registry.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

// Which open modes a kind offers, as a bit set (bit n = mode n).
constexpr unsigned modeBit(int32_t mode) {
    return 1u << unsigned(mode);
}
constexpr unsigned anyMode = 0xF;
constexpr unsigned directOrThreads = modeBit(0) | modeBit(1);

struct KindRow {
    uint32_t type;
    const char* typeName;
    unsigned modes;
};

// Every kind of port the library knows, with the modes it can be opened in.
constexpr KindRow kinds[] = {
    {DOVA_IF_CON, "CON", anyMode},
    {DOVA_IF_DUMP, "DUMP", anyMode},
    {DOVA_IF_FILE, "FILE", anyMode},
    {DOVA_IF_LPT, "LPT", directOrThreads},
    {DOVA_IF_KPLPT, "KPLPT", directOrThreads},
    {DOVA_IF_KPPRN, "KPPRN", directOrThreads},
    {DOVA_IF_KPUSB, "KPUSB", directOrThreads},
    {DOVA_IF_USBPRN, "USBPRN", directOrThreads},
    {DOVA_IF_LIBUSB, "LIBUSB", directOrThreads},
    {DOVA_IF_TANSY, "TANSY", directOrThreads},
    {DOVA_IF_IBMTI4, "IBMTI4", anyMode},
    {DOVA_IF_IBMM4, "IBMM4", anyMode},
    {DOVA_IF_ALD, "ALD", anyMode},
    {DOVA_IF_KZAPI, "KZAPI", anyMode},
    {DOVA_IF_SPOOLER, "SPOOLER", anyMode},
    {DOVA_IF_IBMDLL, "IBMDLL", directOrThreads},
    {DOVA_IF_NRDTLM, "NRDTLM", anyMode},
    {DOVA_IF_NRDTDH, "NRDTDH", anyMode},
    {DOVA_IF_XFS, "XFS", anyMode},
    {DOVA_IF_HPRDH, "HPRDH", anyMode},
    {DOVA_IF_COM, "COM", directOrThreads | modeBit(2)},
    {DOVA_IF_IBMFP, "IBMFP", anyMode},
    {DOVA_IF_AEA, "AEA", anyMode},
    {DOVA_IF_NET, "NET", anyMode},
    {DOVA_IF_KPNET, "KPNET", directOrThreads | modeBit(2)},
    {DOVA_IF_GW, "GW", anyMode},
    {DOVA_IF_NDX, "NDX", anyMode},
    {DOVA_IF_IOM, "IOM", directOrThreads},
    {DOVA_IF_WTS, "NDX", anyMode},
    {DOVA_IF_STARIO, "StarIO", anyMode},
};

const KindRow* findKind(uint32_t type) {
    for (const KindRow& k : kinds)
        if (k.type == type) return &k;
    return nullptr;
}

const DovaPortRegistry& registry() {
    static const DovaPortRegistry table = [] {
        DovaPortRegistry r;
        dovaRegisterPortFamilies(r);
        return r;
    }();
    return table;
}

} // namespace

std::unique_ptr<DovaBase> dovaCreatePort(uint32_t type, int32_t mode) {
    const KindRow* kind = findKind(type);
    if (!kind || mode < 0 || mode > 3 || !(kind->modes & modeBit(mode))) return nullptr;
    DovaPortMaker make = registry().find(type, mode);
    auto port = make ? make() : nullptr;
    if (!port) dovaTrace("DOVA: %s ports are not available in this build\n", kind->typeName);
    return port;
}
