// The byte emitter, the read-back poll, the data display and the waits of
// prompt and delay lines, on a port that misbehaves on purpose.
#include "byte_display.h"
#include "captured_file.h"
#include "fake_port.h"
#include "port_script.h"
#include "script_scanner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <unistd.h>
#include <vector>

using namespace sendtool;
using sendtool_test::Captured;
using sendtool_test::FakePort;

namespace {

// Standard input stand-in: a pipe with the given keys, closed or kept open.
class KeyPipe {
public:
    explicit KeyPipe(const std::string& keys, bool closeAfter = true) {
        if (pipe(fds_) != 0) throw std::runtime_error("pipe");
        if (!keys.empty() && ::write(fds_[1], keys.data(), keys.size()) < 0)
            throw std::runtime_error("write");
        if (closeAfter) closeWriter();
    }
    ~KeyPipe() {
        close(fds_[0]);
        closeWriter();
    }
    void closeWriter() {
        if (fds_[1] >= 0) close(fds_[1]);
        fds_[1] = -1;
    }
    int reader() const { return fds_[0]; }
    std::string unread() {
        std::string rest;
        char c;
        closeWriter();
        while (::read(fds_[0], &c, 1) == 1)
            rest += c;
        return rest;
    }

private:
    int fds_[2] = {-1, -1};
};

TEST(SendtoolByteDisplay, SentAndReceivedLinesKeepSeparateCounters) {
    Captured out;
    ByteDisplay display(out.file());
    for (uint8_t b : {0x41, 0x20, 0x7F, 0x00, 0xC8})
        display.sent(b);
    display.sent(0x1B);
    display.received(0x12);
    display.received(0x80);
    display.sent(0x0A);
    EXPECT_EQ(out.text(), ">000000:  65 41h A\n"
                          ">000001:  32 20h SP\n"
                          ">000002: 127 7Fh DEL\n"
                          ">000003:   0 00h NUL\n"
                          ">000004: 200 C8h \n"
                          ">000005:  27 1Bh ESC\n"
                          "<                       000000:  18 12h DC2\n"
                          "<                       000001: 128 80h \n"
                          ">000006:  10 0Ah LF\n");
}

TEST(SendtoolByteEmitter, OffersAByteAgainWhileTheQueueIsFull) {
    Captured out;
    ByteDisplay display(out.file());
    ConsoleKeys keys(-1);
    FakePort port;
    port.refusals = 5;
    PortScript script(port, display, keys, true);
    script.number(0x4142);
    script.finish();
    EXPECT_EQ(port.taken, "BA");
    EXPECT_EQ(port.offered, (std::vector<uint32_t>{2, 2, 2, 2, 2, 2}));
    EXPECT_FALSE(script.stalled());
    // Each byte is shown once, after the port took it, however often it was offered.
    EXPECT_EQ(out.text(), ">000000:  66 42h B\n>000001:  65 41h A\n");
}

TEST(SendtoolByteEmitter, GathersALineIntoOneWriteAndOffersWhatIsLeftAgain) {
    Captured out;
    ByteDisplay display(out.file());
    ConsoleKeys keys(-1);
    FakePort port;
    port.maxPerWrite = 3;
    PortScript script(port, display, keys, false);
    script.bytes("Table");
    script.name("CR");
    script.number(10);
    EXPECT_TRUE(port.offered.empty());
    // The newline's poll comes after the line's bytes reached the port.
    script.poll();
    EXPECT_EQ(port.readCalls, 1);
    EXPECT_EQ(port.offered, (std::vector<uint32_t>{7, 4, 1}));
    EXPECT_EQ(port.taken, "Table\r\n");
    // Line commands and the end of the script also send what is gathered.
    script.bytes("ab");
    script.message("");
    script.bytes("cd");
    script.finish();
    EXPECT_EQ(port.taken, "Table\r\nabcd");
    // A long run goes out before its line ends.
    FakePort big;
    PortScript longLine(big, display, keys, false);
    longLine.bytes(std::string(10000, 'x'));
    EXPECT_EQ(big.taken.size(), 10000u);
}

TEST(SendtoolByteEmitter, AFailedByteIsNotRepeatedAndTheScriptGoesOn) {
    Captured out;
    ByteDisplay display(out.file());
    ConsoleKeys keys(-1);
    for (int32_t failure : {1101, -1}) {
        FakePort port;
        port.writeResult = failure;
        PortScript script(port, display, keys, false);
        script.byte(1);
        script.byte(2);
        script.finish();
        // Each failure costs one byte: the second is offered alone.
        EXPECT_EQ(port.offered, (std::vector<uint32_t>{2, 1})) << failure;
        EXPECT_FALSE(script.stalled());
    }
}

TEST(SendtoolByteEmitter, GivesUpOnAPortThatTakesNothingAndWaitsOnlyOnce) {
    Captured out;
    ByteDisplay display(out.file());
    ConsoleKeys keys(-1);
    FakePort port;
    port.full = true;
    PortScript script(port, display, keys, true, StallLimit{50});
    script.byte('a');
    script.finish();
    ASSERT_TRUE(script.stalled());
    size_t offers = port.offered.size();
    EXPECT_GE(offers, 2u);
    script.byte('b');
    script.message("still printed");
    EXPECT_EQ(port.offered.size(), offers);
    // Neither the byte the port never took nor the dropped rest is shown as sent.
    EXPECT_EQ(out.text(), "");

    // A port that prints on our own output shows each byte before it takes it.
    Captured echoed;
    ByteDisplay echoDisplay(echoed.file());
    FakePort console;
    console.echoes = true;
    PortScript direct(console, echoDisplay, keys, true);
    console.writeResult = 1101;
    direct.byte('c');
    EXPECT_EQ(echoed.text(), ">000000:  99 63h c\n");
}

TEST(SendtoolReadBackPoll, ShowsReceivedBytesUnlessTheReadFailed) {
    Captured out;
    ByteDisplay display(out.file());
    ConsoleKeys keys(-1);
    FakePort port;
    port.reads = {{0, "\x12"}, {1102, "x"}, {-1, "\x06"}, {0, ""}};
    PortScript script(port, display, keys, false);
    for (int i = 0; i < 5; ++i)
        script.poll();
    EXPECT_EQ(port.readCalls, 5);
    EXPECT_EQ(out.text(), "<                       000000:  18 12h DC2\n"
                          "<                       000001:   6 06h ACK\n");
}

TEST(SendtoolLineWaits, APromptTakesOneByteOfANonTerminalInput) {
    Captured out;
    ByteDisplay display(out.file());
    FakePort port;
    KeyPipe pipe("xy", false);
    ConsoleKeys keys(pipe.reader());
    PortScript script(port, display, keys, false);
    script.prompt("Insert paper");
    EXPECT_EQ(pipe.unread(), "y");
}

TEST(SendtoolLineWaits, APromptGoesOnAtTheEndOfInputOrWithoutInput) {
    Captured out;
    ByteDisplay display(out.file());
    FakePort port;
    KeyPipe pipe("");
    ConsoleKeys keys(pipe.reader());
    PortScript script(port, display, keys, false);
    script.prompt("");
    script.prompt("");
    EXPECT_TRUE(keys.exhausted());
    ConsoleKeys closed(-1);
    PortScript noInput(port, display, closed, false);
    noInput.prompt("");
    EXPECT_TRUE(closed.exhausted());
}

TEST(SendtoolLineWaits, ADelayEndsEarlyOnlyOnEscape) {
    Captured out;
    ByteDisplay display(out.file());
    FakePort port;
    {
        KeyPipe pipe("ab\x1b"
                     "c");
        ConsoleKeys keys(pipe.reader());
        PortScript script(port, display, keys, false);
        script.delay("  +60000 ms");
        EXPECT_EQ(pipe.unread(), "c");
    }
    {
        KeyPipe pipe("abc");
        ConsoleKeys keys(pipe.reader());
        PortScript script(port, display, keys, false);
        auto start = std::chrono::steady_clock::now();
        port.readCalls = 0;
        script.delay("40");
        // Millisecond ticks may cut the wait short by less than a tick.
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
        EXPECT_GE(port.readCalls, 1);
        EXPECT_EQ(pipe.unread(), "");
    }
    {
        // Zero and negative delays still poll the port once.
        KeyPipe pipe("");
        ConsoleKeys keys(pipe.reader());
        PortScript script(port, display, keys, false);
        for (const char* text : {"", "0", "-5000", "-99999999999"}) {
            port.readCalls = 0;
            script.delay(text);
            EXPECT_EQ(port.readCalls, 1) << text;
        }
    }
}

} // namespace
