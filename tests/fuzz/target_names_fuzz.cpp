// Any text must resolve without touching memory outside the target, and a
// text that resolves to a network kind must carry a valid address or none.
#include <dova/dova.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string target(reinterpret_cast<const char*>(data), size);
    int32_t no, ch;
    uint32_t ip, port;
    uint32_t type = _DovaWhatIF(target.c_str(), &no, &ch, &ip, &port);
    if (type == DOVA_IF_FILE && port != 0) __builtin_trap();
    return 0;
}
