#include "target_names.h"

#include "os/os_inet.h"

#include <dova/dova.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

struct TargetRow {
    const char* name;
    uint32_t type;
    int32_t defaultNo;
    int32_t channel;
};

// Searched in this order: the first row that fits wins, so a longer name must
// stand before a shorter one only where the shorter one could fit it too.
constexpr TargetRow targetRows[] = {
    {"CON", DOVA_IF_CON, -1, -1},
    {"DUMP", DOVA_IF_DUMP, -1, -1},
    {"COM", DOVA_IF_COM, 1, -1},
    {"LPT", DOVA_IF_LPT, 1, -1},
    {"PRN", DOVA_IF_LPT, 1, -1},
    {"KPUSB", DOVA_IF_KPUSB, 0, 0},
    {"CDUSB", DOVA_IF_KPUSB, 0, 1},
    {"KPQS1", DOVA_IF_KPUSB, 0, 2},
    {"CDQS1", DOVA_IF_KPUSB, 0, 3},
    {"USBKP", DOVA_IF_KPUSB, 0, 0},
    {"USBCD", DOVA_IF_KPUSB, 0, 1},
    {"QS1KP", DOVA_IF_KPUSB, 0, 2},
    {"QS1CD", DOVA_IF_KPUSB, 0, 3},
    {"KPPRN", DOVA_IF_KPPRN, 0, 0},
    {"CDPRN", DOVA_IF_KPPRN, 0, 1},
    {"USBPRN", DOVA_IF_USBPRN, 0, -1},
    {"SPOOLER", DOVA_IF_SPOOLER, 0, -1},
    {"NET", DOVA_IF_NET, -1, -1},
    {"KPNET", DOVA_IF_KPNET, -1, -1},
    {"GW", DOVA_IF_GW, 1, 0},
    {"GWKP", DOVA_IF_GW, 1, 0},
    {"GWCD", DOVA_IF_GW, 1, 1},
    {"GWQS", DOVA_IF_GW, 1, 2},
    {"KPGW", DOVA_IF_GW, 1, 0},
    {"CDGW", DOVA_IF_GW, 1, 1},
    {"QSGW", DOVA_IF_GW, 1, 2},
    {"JOBSPOOL", DOVA_IF_KZAPI, -1, 1},
    {"REMOTE", DOVA_IF_KZAPI, -1, 0x10010003},
    {"D4CTRL", DOVA_IF_KZAPI, -1, 0x10000005},
    {"NDX", DOVA_IF_NDX, 1, 0},
    {"NDXKP", DOVA_IF_NDX, 1, 0},
    {"NDXCD", DOVA_IF_NDX, 1, 1},
    {"KPNDX", DOVA_IF_NDX, 1, 0},
    {"CDNDX", DOVA_IF_NDX, 1, 1},
    {"KPWTS", DOVA_IF_WTS, 1, 0},
    {"CDWTS", DOVA_IF_WTS, 1, 1},
    {"IOMCOM", DOVA_IF_IOM, 1, 1},
    {"IOMUSB", DOVA_IF_IOM, 1, 2},
    {"IOMNET", DOVA_IF_IOM, -1, 3},
    {"ULTRA", DOVA_IF_AEA, 1, 0},
    {"RESA", DOVA_IF_AEA, 1, 1},
    {"SITA", DOVA_IF_AEA, 1, 2},
    {"IBMFP", DOVA_IF_IBMFP, 1, -1},
    {"IBMDLL", DOVA_IF_IBMDLL, 1, -1},
    {"IBMTI4", DOVA_IF_IBMTI4, 0, -1},
    {"IBMM4", DOVA_IF_IBMM4, 0, -1},
    {"ALD", DOVA_IF_ALD, -1, -1},
    {"NRDTLM", DOVA_IF_NRDTLM, 0, -1},
    {"NRDTDH", DOVA_IF_NRDTDH, 0, -1},
    {"XFS", DOVA_IF_XFS, -1, -1},
    {"HPRDH", DOVA_IF_HPRDH, 0, -1},
    {"KPLPT", DOVA_IF_KPLPT, 1, -1},
    {"LIBUSB", DOVA_IF_LIBUSB, 0, 0},
    {"LIBUSBKP", DOVA_IF_LIBUSB, 0, 1},
    {"LIBUSBPRN", DOVA_IF_LIBUSB, 0, 2},
    {"TANSY", DOVA_IF_TANSY, 1, -1},
    {"STARIO", DOVA_IF_STARIO, -1, -1},
};
static_assert(sizeof targetRows / sizeof targetRows[0] == 57);

// The address part is handled in a buffer of this size; a longer text is
// not an address.
constexpr size_t addressBufferSize = 260;

// Decimal value of the leading digits (0 when there are none), without
// overflow: the value saturates.
uint32_t leadingNumber(const char* s) {
    uint64_t v = 0;
    while (*s >= '0' && *s <= '9') {
        v = v * 10 + uint64_t(*s - '0');
        if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;
        ++s;
    }
    return uint32_t(v);
}

// The port number is read as the C library's atoi reads it, which passes
// over white space first ("10.0.0.5: 9100").
const char* skipBlanks(const char* s) {
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\v' || *s == '\f' || *s == '\r')
        ++s;
    return s;
}

// Reads "a.b.c.d[:port]"; the port only when the address is valid and a ':'
// was there. A text that does not fit the address buffer is no address.
void readAddress(const char* text, uint32_t* address, uint32_t* port) {
    size_t length = std::strlen(text);
    if (length >= addressBufferSize) {
        *address = 0;
        return;
    }
    char buf[addressBufferSize];
    std::memcpy(buf, text, length + 1);
    char* colon = std::strchr(buf, ':');
    if (colon) *colon = 0;
    *address = os::inetAddr(buf);
    if (dovaIsValidIPv4(*address) && colon) *port = leadingNumber(skipBlanks(colon + 1));
}

} // namespace

bool dovaIsValidIPv4(uint32_t address) {
    if (address == 0 || address == 0xFFFFFFFFu) return false;
    auto first = reinterpret_cast<const unsigned char*>(&address)[0];
    return first != 0 && first != 255;
}

bool dovaIsValidTcpPort(uint32_t port) {
    return (port & 0xFFFF) != 0;
}

extern "C" uint32_t _DovaWhatIF(const char* target, int32_t* number, int32_t* channel,
                                uint32_t* address, uint32_t* port) {
    int32_t no = -1, ch = -1;
    uint32_t ip = 0, tcp = 0;
    uint32_t type = DOVA_IF_FILE;
    bool found = false;
    if (!target) target = "";
    for (const TargetRow& row : targetRows) {
        size_t n = std::strlen(row.name);
        if (strncasecmp(target, row.name, n) != 0) continue;
        char next = target[n];
        if (next != 0 && next != '@' && !(next >= '0' && next <= '9')) continue;
        found = true;
        no = (next >= '0' && next <= '9') ? int32_t(leadingNumber(target + n)) : row.defaultNo;
        ch = row.channel;
        type = row.type;
        if (type & DOVA_IF_IPADDR) {
            const char* at = std::strchr(target, '@');
            if (at) readAddress(at + 1, &ip, &tcp);
        }
        break;
    }
    if (!found) {
        // Not a table name: an IPv4 address with an optional port, or a file.
        readAddress(target, &ip, &tcp);
        if (dovaIsValidIPv4(ip)) type = DOVA_IF_NET;
    }
    if (number) *number = no;
    if (channel) *channel = ch;
    if (address) *address = ip;
    if (port) *port = tcp;
    return type;
}
