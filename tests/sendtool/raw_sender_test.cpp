// Binary mode: blocks, percentages and the ways a port or a file can fail.
#include "captured_file.h"
#include "fake_port.h"
#include "raw_sender.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace sendtool;
using sendtool_test::Captured;
using sendtool_test::FakePort;

namespace {

std::string pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(i * 7 + i / 256);
    return s;
}

struct Sent {
    RawResult result;
    std::string progress;
    std::string out;
};

Sent send(FakePort& port, std::string content, StallLimit limit = {}) {
    std::FILE* file = content.empty() ? std::fopen("/dev/null", "rb")
                                      : fmemopen(content.data(), content.size(), "rb");
    Captured progress, out;
    RawResult result = sendRaw(port, file, progress.file(), out.file(), limit);
    std::fclose(file);
    return {result, progress.text(), out.text()};
}

TEST(SendtoolRawSender, SendsBlocksOf4096AndShowsTheirPercentages) {
    FakePort port;
    std::string content = pattern(10000);
    Sent s = send(port, content);
    EXPECT_EQ(s.result, RawResult::Sent);
    EXPECT_TRUE(port.taken == content);
    EXPECT_EQ(port.offered, (std::vector<uint32_t>{4096, 4096, 1808}));
    EXPECT_EQ(s.progress, "  0%\r 40%\r 81%\r100%\r100%\n");
    EXPECT_EQ(s.out, "");
}

TEST(SendtoolRawSender, APortThatTakesPartOfABlockGetsTheRestFirst) {
    FakePort port;
    port.maxPerWrite = 1500;
    port.refusals = 2;
    std::string content = pattern(5000);
    Sent s = send(port, content);
    EXPECT_EQ(s.result, RawResult::Sent);
    EXPECT_TRUE(port.taken == content);
    EXPECT_EQ(port.offered, (std::vector<uint32_t>{4096, 4096, 4096, 2596, 1096, 904}));
    EXPECT_EQ(s.progress, "  0%\r 81%\r100%\r100%\n");
}

TEST(SendtoolRawSender, AnEmptyFileIsCompleteAtOnce) {
    FakePort port;
    Sent s = send(port, "");
    EXPECT_EQ(s.result, RawResult::Sent);
    EXPECT_TRUE(port.offered.empty());
    EXPECT_EQ(s.progress, "  0%\r100%\n");
}

TEST(SendtoolRawSender, ForcedSendingThatCannotBeSwitchedOffSendsNothing) {
    FakePort port;
    port.forceResult = 1103;
    Sent s = send(port, pattern(100));
    EXPECT_EQ(s.result, RawResult::ForceFailed);
    EXPECT_TRUE(port.offered.empty());
    EXPECT_EQ(s.progress, "");
    port.forceResult = -1; // not supported is no failure
    EXPECT_EQ(send(port, pattern(100)).result, RawResult::Sent);
}

TEST(SendtoolRawSender, AnyNonZeroWriteResultEndsTheSend) {
    for (int32_t failure : {1101, -1}) {
        FakePort port;
        port.writeResult = failure;
        errno = 0;
        Sent s = send(port, pattern(9000));
        EXPECT_EQ(s.result, RawResult::WriteFailed);
        EXPECT_EQ(port.offered.size(), 1u);
        EXPECT_EQ(s.out, "err=" + std::to_string(failure) + " dwErr=0\n");
        EXPECT_EQ(s.progress, "  0%\r");
    }
}

TEST(SendtoolRawSender, GivesUpOnAPortThatKeepsTakingNothing) {
    FakePort port;
    port.full = true;
    Sent s = send(port, pattern(100), StallLimit{50});
    EXPECT_EQ(s.result, RawResult::WriteFailed);
    EXPECT_GE(port.offered.size(), 2u);
}

TEST(SendtoolRawSender, AFileThatCannotBeReadIsNotReportedAsSent) {
    // A stream whose second read fails, like a file on a failing disk.
    struct Source {
        int reads = 0;
    } source;
    cookie_io_functions_t io = {};
    io.read = [](void* cookie, char* buf, size_t size) -> ssize_t {
        auto* s = static_cast<Source*>(cookie);
        if (s->reads++ > 0) {
            errno = EIO;
            return -1;
        }
        std::memset(buf, 'x', size < 100 ? size : 100);
        return size < 100 ? static_cast<ssize_t>(size) : 100;
    };
    std::FILE* file = fopencookie(&source, "rb", io);
    FakePort port;
    Captured progress, out;
    RawResult result = sendRaw(port, file, progress.file(), out.file());
    std::fclose(file);
    EXPECT_EQ(result, RawResult::ReadFailed);
    EXPECT_EQ(port.taken, std::string(100, 'x'));
}

} // namespace
