#include "library_fixture.h"

#include "dova_base.h"
#include "handle_table.h"

#include <vector>

namespace {

TEST(LineParams, BaudRates) {
    EXPECT_EQ(DovaParseBaudRate("9600abc"), 9600);
    EXPECT_EQ(DovaParseBaudRate("19200"), 19200);
    EXPECT_EQ(DovaParseBaudRate("192"), 19200);
    EXPECT_EQ(DovaParseBaudRate("  -96"), -1);
    EXPECT_EQ(DovaParseBaudRate(" +96"), 9600);
    EXPECT_EQ(DovaParseBaudRate("921600"), -1);
    EXPECT_EQ(DovaParseBaudRate("92160"), 9216000);
    EXPECT_EQ(DovaParseBaudRate("110"), 110);
    EXPECT_EQ(DovaParseBaudRate("abc"), -1);
    EXPECT_EQ(DovaParseBaudRate("99999999999999999999"), -1);
    EXPECT_EQ(DovaParseBaudRate(nullptr), -1);
}

TEST(LineParams, ByteSizeParityStopBitsFlow) {
    EXPECT_EQ(DovaParseByteSize("4"), 4);
    EXPECT_EQ(DovaParseByteSize("8"), 8);
    EXPECT_EQ(DovaParseByteSize("9"), -1);
    EXPECT_EQ(DovaParseByteSize(""), -1);
    EXPECT_EQ(DovaParseParity("even"), 2);
    EXPECT_EQ(DovaParseParity("n"), 0);
    EXPECT_EQ(DovaParseParity("Space"), 4);
    EXPECT_EQ(DovaParseParity("x"), -1);
    EXPECT_EQ(DovaParseParity(""), -1);
    EXPECT_EQ(DovaParseStopBits("1"), 0);
    EXPECT_EQ(DovaParseStopBits("1.5"), 0);
    EXPECT_EQ(DovaParseStopBits("15"), 1);
    EXPECT_EQ(DovaParseStopBits("5"), 1);
    EXPECT_EQ(DovaParseStopBits("2"), 2);
    EXPECT_EQ(DovaParseStopBits("3"), -1);
    EXPECT_EQ(DovaParseFlow("rts"), 2);
    EXPECT_EQ(DovaParseFlow("W"), 4);
    EXPECT_EQ(DovaParseFlow("q"), -1);
    EXPECT_EQ(DovaParseFlow(nullptr), -1);
}

// A serial-like port that records the settings it is given and refuses one.
class RecordingLine : public DovaBase {
public:
    std::vector<std::string>* calls;
    int32_t refuseBaud = 0;
    explicit RecordingLine(std::vector<std::string>* c) : calls(c) {}
    uint32_t getIFType() override { return DOVA_IF_COM; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "COM"; }
    int32_t claim(int32_t) override { return 0; }
    int32_t send(const void*, uint32_t, uint32_t*, uint32_t, uint32_t, uint32_t) override {
        return 0;
    }
    int32_t recv(void*, uint32_t, uint32_t*, uint32_t) override { return 0; }
    intptr_t getHandle() override { return -1; }
    int32_t isOpen() override { return 0; }
    int32_t isReady() override { return 0; }
    int32_t setBaudRate(int32_t v) override {
        calls->push_back("baud " + std::to_string(v));
        return v == refuseBaud ? DOVA_E_PARAM : 0;
    }
    int32_t setByteSize(int32_t v) override {
        calls->push_back("bits " + std::to_string(v));
        return 0;
    }
    int32_t setParity(int32_t v) override {
        calls->push_back("parity " + std::to_string(v));
        return 0;
    }
    int32_t setFlow(int32_t v) override {
        calls->push_back("flow " + std::to_string(v));
        return 0;
    }
    // setStopBits keeps the "not supported" default: -1 is no refusal.
};

TEST(LineParams, CommParamsAppliesInOrderAndStopsAtTheFirstRefusal) {
    std::vector<std::string> calls;
    auto port = std::make_unique<RecordingLine>(&calls);
    RecordingLine* line = port.get();
    uint32_t h = dovaHandleAdd(std::move(port));

    EXPECT_EQ(DovaCommParams(h, -1, -1, -1, -1, -1), 0);
    EXPECT_TRUE(calls.empty());

    EXPECT_EQ(DovaCommParams(h, 9600, 7, 2, 0, 3), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"baud 9600", "bits 7", "parity 2", "flow 3"}));

    calls.clear();
    line->refuseBaud = 1200;
    EXPECT_EQ(DovaCommParams(h, 1200, 8, -1, -1, 0), DOVA_E_PARAM);
    EXPECT_EQ(calls, (std::vector<std::string>{"baud 1200"}));

    EXPECT_EQ(DovaCommParams(0xABCDEF, 9600, -1, -1, -1, -1), DOVA_E_HANDLE);
    dovaHandleRemove(h);
}

} // namespace
