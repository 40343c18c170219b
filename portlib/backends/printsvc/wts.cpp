#include "backends/printsvc/wts.h"

#include "os/os_remote_session.h"

WWTS::WWTS() {
    if (uint32_t client = os::remoteClientAddress(); client != 0) setIP(client);
}
