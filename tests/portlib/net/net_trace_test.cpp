// What the network ports tell the debug trace, and which class each open
// mode makes: both are read by people diagnosing a printer on site.
#include "backends/net/net.h"
#include "backends/net/net_events.h"
#include "backends/net/net_kpnet.h"
#include "backends/net/net_kpnet_events.h"
#include "backends/net/net_kpnet_threads.h"
#include "backends/net/net_threads.h"
#include "backends/net/net_winmsg.h"
#include "factory.h"
#include "net_test_support.h"
#include "os/os_trace_sink.h"

#include <dova/dova.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

TEST(NetFactory, EachOpenModeMakesItsClass) {
    EXPECT_NE(dynamic_cast<WNet*>(dovaCreatePort(DOVA_IF_NET, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<WNetA*>(dovaCreatePort(DOVA_IF_NET, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<WNetE*>(dovaCreatePort(DOVA_IF_NET, 2).get()), nullptr);
    EXPECT_NE(dynamic_cast<WNetW*>(dovaCreatePort(DOVA_IF_NET, 3).get()), nullptr);
    auto direct = dovaCreatePort(DOVA_IF_KPNET, 0);
    EXPECT_NE(dynamic_cast<WKpnet*>(direct.get()), nullptr);
    EXPECT_EQ(direct->getAsyncMode(), 0);
    EXPECT_NE(dynamic_cast<WKpnetA*>(dovaCreatePort(DOVA_IF_KPNET, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<WKpnetE*>(dovaCreatePort(DOVA_IF_KPNET, 2).get()), nullptr);
    EXPECT_EQ(dovaCreatePort(DOVA_IF_KPNET, 3), nullptr);
}

TEST(NetTrace, KpnetWorkerPortTracesItsLifeWithTheTraditionalSpellings) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options& o) {
        o.statusChannel = true;
        o.udpPort = 0;
    }));
    ASSERT_TRUE(printer.start(nullptr));
    ScopedConfig config("StatusPort=" + std::to_string(printer.udpPort()) + "\n");
    std::string trace;
    {
        TraceCapture capture;
        WKpnetA port;
        port.setIP(loopback());
        port.setPort(printer.tcpPort());
        ASSERT_EQ(port.claim(0), 0);
        ASSERT_TRUE(sendAll(port, pattern(10)));
        EXPECT_EQ(port.release(30000), 0);
        trace = capture.text();
    }
    const std::string claim =
        "DOVA: WKpnetA::claim(127.0.0.1:" + std::to_string(printer.tcpPort()) + ")\n";
    for (const std::string& line :
         {claim, std::string("DOVA: WUdpc::claim()\n"),
          std::string("DOVA: WKPnetA::procSend() Start\n"),
          std::string("DOVA: WKpnetA::procSend() End\n"),
          std::string("DOVA: WKpnetA::procRecv() Start\n"),
          std::string("DOVA: WKpnetA::procRecv() End\n"),
          std::string("DOVA: WKpnetA::procConn() Start\n"),
          std::string("DOVA: WKpnetA::procConn() End\n"),
          std::string("DOVA: WKpentA::release(30000)\n"),
          std::string("DOVA: WAsync::stopThreads()\n"), std::string("DOVA: WUdpc::release(0)\n")}) {
        EXPECT_NE(trace.find(line), std::string::npos) << "missing: " << line;
    }
    EXPECT_LT(trace.find(claim), trace.find("DOVA: WKpentA::release(30000)\n"));
}

TEST(NetTrace, RefusedConnectTracesTheSystemError) {
    TraceCapture capture;
    WNetA port;
    port.setIP(loopback());
    port.setPort(refusedPort());
    ASSERT_EQ(port.claim(0), DOVA_E_CONNECT);
    std::string trace = capture.text();
    EXPECT_NE(trace.find("DOVA: WNetA::claim()\n"), std::string::npos);
    EXPECT_NE(trace.find("DOVA:  iErr=" + std::to_string(port.lastError()) + "\n"),
              std::string::npos);
    EXPECT_NE(trace.find("DOVA: WNetA::release(0)\n"), std::string::npos);
    // Traced at every stop step, also when no worker had started yet.
    EXPECT_NE(trace.find("DOVA: WAsync::stopThreads()\n"), std::string::npos);
}

TEST(NetTrace, EventPortsFirstWriteEventFollowsItsWaitLine) {
    testprinter::TestPrinter printer(anyPort([](testprinter::Options&) {}));
    ASSERT_TRUE(printer.start(nullptr));
    std::string trace;
    {
        TraceCapture capture;
        WNetE port;
        port.setIP(loopback());
        port.setPort(printer.tcpPort());
        ASSERT_EQ(port.claim(0), 0);
        EXPECT_EQ(port.release(30000), 0);
        trace = capture.text();
    }
    EXPECT_NE(
        trace.find("DOVA: WNetE::procWait() Start\nDOVA: WaitForMulti()=1\nDOVA:  FD_WRITE 0\n"),
        std::string::npos)
        << trace;
}

} // namespace
