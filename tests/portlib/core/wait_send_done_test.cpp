#include <gtest/gtest.h>

#include "dova_base.h"
#include "os/os_clock.h"

#include <dova/dova.h>

#include <functional>

namespace {

// A port whose queued count is a function of time since it was made.
class DrainingPort : public DovaBase {
public:
    explicit DrainingPort(std::function<uint32_t(uint32_t elapsedMs)> count)
        : count_(std::move(count)), start_(os::tickCount()) {}
    uint32_t getIFType() override { return DOVA_IF_NET; }
    int32_t getAsyncMode() override { return 1; }
    const char* getTypeName() override { return "NET"; }
    int32_t claim(int32_t) override { return 0; }
    int32_t send(const void*, uint32_t, uint32_t*, uint32_t, uint32_t, uint32_t) override {
        return 0;
    }
    int32_t recv(void*, uint32_t, uint32_t*, uint32_t) override { return 0; }
    intptr_t getHandle() override { return -1; }
    int32_t isOpen() override { return 1; }
    int32_t isReady() override { return 1; }
    int32_t getSendCount(uint32_t* n) override {
        *n = count_(os::tickCount() - start_);
        return 0;
    }

private:
    std::function<uint32_t(uint32_t)> count_;
    uint32_t start_;
};

TEST(WaitSendDone, SlowProgressNeverTimesOut) {
    // One byte every 40 ms, 12 bytes: about half a second in all, far beyond
    // the 60 ms time-out, which bounds only the time without progress.
    DrainingPort port([](uint32_t ms) {
        uint32_t sent = ms / 40;
        return sent >= 12 ? 0u : 12 - sent;
    });
    EXPECT_EQ(port.waitSendDone(60), 0);
}

TEST(WaitSendDone, StalledQueueGivesOne) {
    DrainingPort port([](uint32_t) { return 5u; });
    EXPECT_EQ(port.waitSendDone(120), 1);
}

TEST(WaitSendDone, ZeroTimeoutOrNoQueueReturnsAtOnce) {
    DrainingPort stalled([](uint32_t) { return 5u; });
    EXPECT_EQ(stalled.waitSendDone(0), 0);
    DrainingPort empty([](uint32_t) { return 0u; });
    EXPECT_EQ(empty.waitSendDone(30000), 0);
}

TEST(PortDefaults, UnsupportedOperationsAnswerMinusOne) {
    DrainingPort port([](uint32_t) { return 0u; });
    DovaBase& base = port;
    int32_t no = 5, ch = 5;
    char name[8] = "x";
    EXPECT_EQ(base.getNo(&no), -1);
    EXPECT_EQ(no, -1);
    EXPECT_EQ(base.getCh(&ch), -1);
    EXPECT_EQ(ch, -1);
    EXPECT_EQ(base.getName(name), -1);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(base.lock(0), -1);
    EXPECT_EQ(base.force(1), -1);
    EXPECT_EQ(base.release(100), 0);
    EXPECT_EQ(base.getRecvCount(nullptr), DOVA_E_PARAM);
    uint32_t n = 9;
    EXPECT_EQ(base.getRecvCount(&n), -1);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(base.getSendBufferSize(), 0u);
    EXPECT_EQ(base.setSendBlockSize(512), 0);
}

} // namespace
