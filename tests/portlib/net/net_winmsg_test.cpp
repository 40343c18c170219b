// The window-message TCP port: its socket notifications reach the owner
// through the library's dispatcher.
#include "backends/net/net_winmsg.h"
#include "message_window.h"
#include "net_test_support.h"
#include "os/os_trace_sink.h"

#include <dova/dova.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

TEST(NetWinMsg, RefusesToOpenWithoutTheDispatcher) {
    ASSERT_FALSE(dovaMessageWindowReady());
    AnsweringPeer peer;
    WNetW port;
    port.setIP(loopback());
    port.setPort(peer.port());
    EXPECT_EQ(port.claim(0), DOVA_E_SYSTEM);
    EXPECT_EQ(port.isOpen(), 0);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Dispatches until the trace shows the line, at most 10 s.
bool dispatchUntilTraced(const std::string& trace, const std::string& line) {
    for (int i = 0; i < 2000; ++i) {
        dovaDispatchMessages();
        if (readFile(trace).find(line) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

TEST(NetWinMsg, NotificationsAreDeliveredWhenTheOwnerDispatches) {
    char name[] = "/tmp/dova-winmsg-trace-XXXXXX";
    ::close(::mkstemp(name));
    ::setenv("DOVA_TRACE", name, 1);
    ASSERT_EQ(DovaStartup(nullptr), 0);
    os::traceReset();

    AnsweringPeer peer;
    WNetW port;
    port.setIP(loopback());
    port.setPort(peer.port());
    ASSERT_EQ(port.claim(0), 0);
    ASSERT_TRUE(peer.accept());
    EXPECT_TRUE(dispatchUntilTraced(name, "DOVA: WNetW::WmWsaAsyncSelect(0002)\n"))
        << "FD_WRITE once connected";
    ASSERT_TRUE(peer.write("answer"));
    EXPECT_TRUE(dispatchUntilTraced(name, "DOVA: WNetW::WmWsaAsyncSelect(0001)\n")) << "FD_READ";
    char buf[16];
    uint32_t n = 0;
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), 0);
    EXPECT_EQ(std::string(buf, n), "answer");
    EXPECT_EQ(port.recv(buf, sizeof buf, &n, 0), DOVA_E_READ) << "non-blocking: nothing waits";
    EXPECT_EQ(port.send("ok", 2, &n, 0, 0, 0), 0);
    EXPECT_EQ(peer.read(2), "ok");
    peer.closeConnection();
    EXPECT_TRUE(dispatchUntilTraced(name, "DOVA: WNetW::WmWsaAsyncSelect(0020)\n")) << "FD_CLOSE";
    EXPECT_EQ(port.release(30000), 0);
    EXPECT_NE(readFile(name).find("DOVA: UnRegistSocket("), std::string::npos);

    DovaCleanup();
    ::unsetenv("DOVA_TRACE");
    os::traceReset();
    std::remove(name);
}

} // namespace
