// DovaStartup, DovaCleanup, DovaVersion.
#include "log.h"
#include "message_window.h"
#include "os/os_trace_sink.h"

#include <dova/dova.h>

namespace {
bool started = false;
} // namespace

extern "C" int32_t DovaStartup(void* instance) {
    // A second start changes nothing: the running log and ports stay as they are.
    if (started) return DOVA_OK;
    os::traceReset();
    // The entry line never reaches the log: the file is opened inside this call.
    dovaLogEnter(0, "DovaStartup hInst=%08X", unsigned(uintptr_t(instance)));
    int32_t result = dovaLogOpen();
    if (result != DOVA_OK) {
        DovaCleanup();
        return result;
    }
    // POSIX has no socket layer to start, so DOVA_E_WINSOCK never arises here.
    dovaMessageWindowCreate();
    started = true;
    dovaLogReturn(0, "DovaStartup %d", DOVA_OK);
    return DOVA_OK;
}

extern "C" int32_t DovaCleanup(void) {
    dovaLogEnter(0, "DovaCleanup");
    dovaMessageWindowDestroy();
    dovaLogReturn(0, "DovaCleanup %d", DOVA_OK);
    dovaLogClose();
    started = false;
    return DOVA_OK;
}

extern "C" uint32_t DovaVersion(void) {
    dovaLogEnter(0, "DovaVersion");
    dovaLogReturn(0, "DovaVersion %08X", DOVA_VERSION);
    return DOVA_VERSION;
}
