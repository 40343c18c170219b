// Opening network ports: addressing, the codes of a claim that cannot
// succeed, and the identity of each class.
#include "backends/net/net.h"
#include "backends/net/net_events.h"
#include "backends/net/net_kpnet.h"
#include "backends/net/net_kpnet_events.h"
#include "backends/net/net_kpnet_threads.h"
#include "backends/net/net_threads.h"
#include "backends/net/net_winmsg.h"
#include "net_test_support.h"
#include "os/posix/syscalls.h"
#include "test_printer.h"

#include <dova/dova.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace {

std::vector<std::unique_ptr<DovaBase>> everyClass() {
    std::vector<std::unique_ptr<DovaBase>> v;
    v.push_back(std::make_unique<WNet>());
    v.push_back(std::make_unique<WNetA>());
    v.push_back(std::make_unique<WNetE>());
    v.push_back(std::make_unique<WNetW>());
    v.push_back(std::make_unique<WKpnet>());
    v.push_back(std::make_unique<WKpnetA>());
    v.push_back(std::make_unique<WKpnetE>());
    return v;
}

TEST(NetClaim, IdentityAndDefaultPrinterPort) {
    const uint32_t types[] = {DOVA_IF_NET,   DOVA_IF_NET,   DOVA_IF_NET,  DOVA_IF_NET,
                              DOVA_IF_KPNET, DOVA_IF_KPNET, DOVA_IF_KPNET};
    const int32_t modes[] = {0, 1, 2, 1, 0, 1, 2};
    auto ports = everyClass();
    for (size_t i = 0; i < ports.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ports[i]->getIFType(), types[i]);
        EXPECT_EQ(ports[i]->getAsyncMode(), modes[i]);
        EXPECT_STREQ(ports[i]->getTypeName(), types[i] == DOVA_IF_NET ? "NET" : "KPNET");
        uint32_t port = 0;
        EXPECT_EQ(ports[i]->getPort(&port), 0);
        EXPECT_EQ(port, 9100u);
        EXPECT_EQ(ports[i]->isOpen(), 0);
        EXPECT_EQ(ports[i]->isReady(), 1);
        EXPECT_EQ(ports[i]->release(30000), 0) << "a closed port releases silently";
    }
}

TEST(NetClaim, PortZeroIsRefusedBeforeAnySocket) {
    for (auto& port : everyClass()) {
        if (dynamic_cast<WNetW*>(port.get())) continue; // needs the dispatcher first
        port->setIP(loopback());
        port->setPort(0);
        EXPECT_EQ(port->claim(0), DOVA_E_ADDRESS) << port->getTypeName();
        EXPECT_EQ(port->isOpen(), 0);
    }
}

TEST(NetClaim, KpnetRefusesAnUnusableAddress) {
    for (uint32_t address : {0u, 0xFFFFFFFFu, htonl(0x00010203u), htonl(0xFF000001u)}) {
        WKpnetA port;
        port.setIP(address);
        EXPECT_EQ(port.claim(0), DOVA_E_IPADDR);
    }
}

TEST(NetClaim, RefusedConnectionGivesTheConnectCodeAndLeavesThePortClosed) {
    const uint16_t closed = refusedPort();
    for (auto& port : everyClass()) {
        if (dynamic_cast<WNetW*>(port.get())) continue;
        port->setIP(loopback());
        port->setPort(closed);
        EXPECT_EQ(port->claim(0), DOVA_E_CONNECT) << port->getTypeName();
        EXPECT_EQ(port->isOpen(), 0);
        uint32_t count = 0;
        EXPECT_NE(port->getSendCount(&count), 0) << "no queue may survive a failed claim";
    }
    WNet direct;
    direct.setIP(loopback());
    direct.setPort(closed);
    direct.claim(0);
    EXPECT_EQ(direct.lastError(), ECONNREFUSED);
}

TEST(NetClaim, SocketTheSystemRefusesGivesTheSocketCode) {
    auto realSocket = os::sys::socket;
    os::sys::socket = [](int, int, int) -> int {
        errno = EMFILE;
        return -1;
    };
    for (auto& port : everyClass()) {
        if (dynamic_cast<WNetW*>(port.get())) continue;
        port->setIP(loopback());
        EXPECT_EQ(port->claim(0), DOVA_E_SOCKET) << port->getTypeName();
        EXPECT_EQ(port->isOpen(), 0);
    }
    os::sys::socket = realSocket;
}

TEST(NetClaim, EventsTheSystemRefusesGiveTheEventCode) {
    testprinter::TestPrinter printer(anyPort());
    ASSERT_TRUE(printer.start(nullptr));
    auto realEventfd = os::sys::eventfd;
    os::sys::eventfd = [](unsigned, int) -> int {
        errno = EMFILE;
        return -1;
    };
    WNetA port;
    port.setIP(loopback());
    port.setPort(printer.tcpPort());
    EXPECT_EQ(port.claim(0), DOVA_E_EVENT);
    EXPECT_EQ(port.isOpen(), 0);
    os::sys::eventfd = realEventfd;
    EXPECT_EQ(port.claim(0), 0) << "a failed claim leaves the port claimable";
}

TEST(NetClaim, ConnectIsBoundedByTheConfiguredTimeOut) {
    // An address that takes no connection: a documentation network, which
    // either times out or is unreachable from here; never two minutes.
    ScopedConfig config("ConnectTimeout=300\n");
    EXPECT_EQ(dovaConnectTimeoutMs(), 300u);
    WNetA port;
    port.setIP(htonl(0xC0000201u)); // 192.0.2.1
    port.setPort(9100);
    EXPECT_EQ(port.claim(0), DOVA_E_CONNECT);
}

TEST(NetClaim, ClaimingAnOpenPortReconnects) {
    testprinter::TestPrinter printer(anyPort());
    ASSERT_TRUE(printer.start(nullptr));
    WNetA port;
    port.setIP(loopback());
    port.setPort(printer.tcpPort());
    ASSERT_EQ(port.claim(0), 0);
    intptr_t first = port.getHandle();
    ASSERT_EQ(port.claim(0), 0);
    EXPECT_TRUE(printer.waitConnectionsEnded(1, 10000)) << "the first connection was closed";
    EXPECT_GE(port.getHandle(), 0);
    (void)first;
}

TEST(NetClaim, NetTargetWithoutAValidAddressConnectsNowhere) {
    // 0.0.0.0 would reach whatever listens on this machine's port 9100.
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(9100);
    const bool listening = ::bind(listener, reinterpret_cast<sockaddr*>(&any), sizeof any) == 0 &&
                           ::listen(listener, 4) == 0;
    ASSERT_EQ(DovaStartup(nullptr), 0);
    for (const char* target : {"NET", "NET@", "NET@printer"}) {
        for (int32_t mode : {0, 1, 2}) {
            SCOPED_TRACE(std::string(target) + " mode " + std::to_string(mode));
            DOVA_HANDLE h = DovaOpenByName(target, mode);
            ASSERT_NE(h, DOVA_INVALID_HANDLE);
            EXPECT_EQ(DovaClaim(h, 0), DOVA_E_CONNECT);
            EXPECT_EQ(DovaClose(h), 0);
        }
    }
    DovaCleanup();
    if (listening) {
        pollfd p{listener, POLLIN, 0};
        EXPECT_EQ(::poll(&p, 1, 0), 0) << "a port without an address reached this machine";
    }
    ::close(listener);
}

} // namespace
