#include "backends/net/net.h"
#include "backends/net/net_events.h"
#include "backends/net/net_kpnet.h"
#include "backends/net/net_kpnet_events.h"
#include "backends/net/net_kpnet_threads.h"
#include "backends/net/net_threads.h"
#include "backends/net/net_winmsg.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterNetPorts(DovaPortRegistry& registry) {
    registry.add<WNet>(DOVA_IF_NET, 0);
    registry.add<WNetA>(DOVA_IF_NET, 1);
    registry.add<WNetE>(DOVA_IF_NET, 2);
    registry.add<WNetW>(DOVA_IF_NET, 3);
    registry.add<WKpnet>(DOVA_IF_KPNET, 0);
    registry.add<WKpnetA>(DOVA_IF_KPNET, 1);
    registry.add<WKpnetE>(DOVA_IF_KPNET, 2);
}
