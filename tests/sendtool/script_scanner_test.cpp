// Byte-exact behaviour of the printer script language.
#include "recording_script.h"
#include "text_input.h"

#include <gtest/gtest.h>

using sendtool_test::scan;

namespace {

std::string bytesOf(const std::string& script) {
    return scan(script).bytes;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

#define EXPECT_SCRIPT(script, expectedHex) EXPECT_EQ(hex(bytesOf(script)), expectedHex) << script

TEST(SendtoolScriptScanner, ControlNamesLettersAndPunctuation) {
    EXPECT_SCRIPT("ESC a 1", "1B 61 01");
    EXPECT_SCRIPT("GS ( k", "1D 28 6B");
    EXPECT_SCRIPT("ESC!", "1B 21");
    EXPECT_SCRIPT("ESC1", "45 53 43 31");
    EXPECT_SCRIPT("esc", "65 73 63");
    EXPECT_SCRIPT("A _ $", "41 5F 24");
    EXPECT_SCRIPT("AX US CLR HOM MD1 MD2 MD3 XON XOFF DEL SP NUL",
                  "1F 1F 0C 0B 01 02 03 11 13 7F 20 00");
    EXPECT_SCRIPT("ACK BEL BS CAN CR DC1 DC2 DC3 DC4 DLE EM ENQ EOT ETB ETX FS",
                  "06 07 08 18 0D 11 12 13 14 10 19 05 04 17 03 1C");
    EXPECT_SCRIPT("HT LF NAK RS SI SO SOH STX SUB SYN VT", "09 0A 15 1E 0F 0E 01 02 1A 16 0B");
    EXPECT_SCRIPT("hello_World2", "68 65 6C 6C 6F 5F 57 6F 72 6C 64 32");
    // Blanks are spaces and tabs; other control characters and high bytes are sent.
    EXPECT_SCRIPT(std::string("\t \x01\x7F\x80\xFF", 6), "01 7F 80 FF");
    EXPECT_SCRIPT(std::string("A\0B", 3), "41 00 42");
}

TEST(SendtoolScriptScanner, NumbersTakeTheWidthOfTheirValue) {
    EXPECT_SCRIPT("$1B 0x1B 1Bh 27", "1B 1B 1B 1B");
    EXPECT_SCRIPT("$100", "00 01");
    EXPECT_SCRIPT("300 1000", "2C 01 E8 03");
    EXPECT_SCRIPT("0x10000", "00 00 01 00");
    EXPECT_SCRIPT("$FFFFFFFF", "FF FF FF FF");
    EXPECT_SCRIPT("65535 65536", "FF FF 00 00 01 00");
    EXPECT_SCRIPT("2147483647 99999999999", "FF FF FF 7F FF FF FF 7F");
    EXPECT_SCRIPT("$123456789", "89 67 45 23");
    EXPECT_SCRIPT("FF FFh ff ffh Ah 12h", "0C FF 66 66 FF 0A 12");
    EXPECT_SCRIPT("1B", "01 42");
    EXPECT_SCRIPT("0x", "00 78");
    EXPECT_SCRIPT("0x1Bh", "1B 68");
    EXPECT_SCRIPT("Bah Bahn", "BA 42 61 68 6E");
    EXPECT_SCRIPT("007", "07");
}

TEST(SendtoolScriptScanner, EscapesInNormalMode) {
    EXPECT_SCRIPT("\\x41 \\x4142", "41 42 41");
    EXPECT_SCRIPT("\\0\\a\\b\\t\\n\\r", "00 07 08 09 0A 0D");
    EXPECT_SCRIPT("\\q\\\\\\\"\\'\\x", "71 5C 22 27 78");
    // A backslash before a newline is the character itself.
    auto r = scan("\\\n");
    EXPECT_EQ(hex(r.bytes), "5C");
    EXPECT_EQ(r.events, std::vector<std::string>{"poll"});
}

TEST(SendtoolScriptScanner, DoubleQuotedStrings) {
    EXPECT_SCRIPT("\"Caf\"130\" ok\"", "43 61 66 82 20 6F 6B");
    EXPECT_SCRIPT("\"\\x1B2\"", "1B 32");
    EXPECT_SCRIPT("\"\\x4\" \"\\x\"", "04 78");
    EXPECT_SCRIPT("\"\\0\\a\\b\\t\\n\\r\\\"\\\\\"", "00 07 08 09 0A 0D 22 5C");
    EXPECT_SCRIPT("\"it's ESC 12\"", "69 74 27 73 20 45 53 43 20 31 32");
    // An open string ends at the newline without a poll; the next line starts afresh.
    auto r = scan("\"abc\n!note\nx");
    EXPECT_EQ(hex(r.bytes), "61 62 63 78");
    EXPECT_EQ(r.events, (std::vector<std::string>{"message:note", "poll"}));
    auto trailing = scan("\"a\\\nB");
    EXPECT_EQ(hex(trailing.bytes), "61 5C 42");
    EXPECT_TRUE(trailing.events.empty());
    EXPECT_SCRIPT("\"never closed", "6E 65 76 65 72 20 63 6C 6F 73 65 64");
}

TEST(SendtoolScriptScanner, SingleQuotedStrings) {
    EXPECT_SCRIPT("x'\\x1B2'", "78 B2");
    EXPECT_SCRIPT("x'\\x41424344'", "78 44");
    EXPECT_SCRIPT(" 'say \"hi\"'", "73 61 79 20 22 68 69 22");
    EXPECT_SCRIPT(" '\\n\\'\\x'", "0A 27 78");
    // At the start of a line the quote opens a comment instead.
    auto r = scan("'ESC 'looks like a string'\nLF");
    EXPECT_EQ(hex(r.bytes), "0A");
    EXPECT_EQ(r.events, std::vector<std::string>{"poll"});
}

TEST(SendtoolScriptScanner, LineCommandsOnlyAtTheStartOfALine) {
    auto r = scan("!hello world\n.\n.Press a key\n*250\n'comment\nESC\n");
    EXPECT_EQ(hex(r.bytes), "1B");
    EXPECT_EQ(r.events, (std::vector<std::string>{"message:hello world", "poll", "prompt:", "poll",
                                                  "prompt:Press a key", "poll", "delay:250", "poll",
                                                  "poll", "poll"}));
    EXPECT_SCRIPT("  !text", "21 74 65 78 74");
    EXPECT_SCRIPT("A!.*", "41 21 2E 2A");
    // A line command's text is taken as it is: names, quotes and markers included.
    auto quoted = scan("!ESC \"x\" 'y' !\n");
    EXPECT_TRUE(quoted.bytes.empty());
    EXPECT_EQ(quoted.events[0], "message:ESC \"x\" 'y' !");
}

TEST(SendtoolScriptScanner, TheScriptMayEndAnywhere) {
    auto onlyMarker = scan("!");
    EXPECT_TRUE(onlyMarker.bytes.empty());
    EXPECT_EQ(onlyMarker.events, std::vector<std::string>{"message:"});
    EXPECT_EQ(scan(".").events, std::vector<std::string>{"prompt:"});
    EXPECT_EQ(scan("*12").events, std::vector<std::string>{"delay:12"});
    EXPECT_EQ(scan("ESC\n!last words").events,
              (std::vector<std::string>{"poll", "message:last words"}));
    EXPECT_TRUE(scan("").bytes.empty());
    EXPECT_SCRIPT("'", "");
    EXPECT_SCRIPT("\\", "5C");
}

TEST(SendtoolScriptScanner, ExamplesOfTheDesksTickets) {
    auto r = scan("GS V 66 0\n");
    EXPECT_EQ(hex(r.bytes), "1D 56 42 00");
    EXPECT_EQ(r.events, std::vector<std::string>{"poll"});
    EXPECT_SCRIPT("ESC \"@\" \"Hello\" LF", "1B 40 48 65 6C 6C 6F 0A");
}

TEST(SendtoolScriptScanner, CrLfReadsAsOneNewline) {
    auto r = scan("ESC\r\n!hi\r\n\"open\r\nCR\rLF");
    EXPECT_EQ(hex(r.bytes), "1B 6F 70 65 6E 0D 0D 0A");
    EXPECT_EQ(r.events, (std::vector<std::string>{"poll", "message:hi", "poll"}));
}

TEST(SendtoolScriptScanner, TokensLongerThanTheFirstBuffer) {
    std::string text(200000, 'z');
    auto message = scan("!" + text + "\n");
    ASSERT_EQ(message.events.size(), 2u);
    EXPECT_EQ(message.events[0], "message:" + text);
    EXPECT_EQ(scan("\"" + text + "\"").bytes, text);
    EXPECT_EQ(scan(text).bytes, text); // one name token of 200000 characters
}

// The CR LF folding must hold whatever the block size, also when a pair is
// split between two reads, when a read asks for one byte only and when a CR
// ends the file.
TEST(SendtoolTextInput, FoldsCrLfAcrossBlockBoundaries) {
    const std::string raw = "a\r\nb\r\r\n\r\rc\n\r\n\r";
    const std::string folded = "a\nb\r\n\r\rc\n\n\r";
    // A fixed size, and sizes that change from read to read as the scanner's
    // refills do (one byte, then more).
    std::vector<std::vector<size_t>> patterns;
    for (size_t block = 1; block <= raw.size() + 1; ++block)
        patterns.push_back({block});
    patterns.push_back({1, 3});
    patterns.push_back({2, 1});
    patterns.push_back({4, 1, 1, 2});
    for (const auto& sizes : patterns) {
        std::string copy = raw;
        std::FILE* f = fmemopen(copy.data(), copy.size(), "r");
        sendtool::TextInput input(f);
        std::string got;
        std::vector<char> buf(raw.size() + 1);
        for (size_t i = 0;; ++i) {
            size_t n = input.read(buf.data(), sizes[i % sizes.size()]);
            if (n == 0) break;
            got.append(buf.data(), n);
        }
        std::fclose(f);
        EXPECT_EQ(got, folded) << "first block size " << sizes[0];
        EXPECT_FALSE(input.failed());
    }
}

// A token that leaves exactly one byte of room in the scanner's buffer makes
// the next refill one byte long: the CR of a CR LF after it is then alone in
// its block.
TEST(SendtoolScriptScanner, CrLfAfterTokensOfEveryLengthAroundTheBufferSize) {
    for (size_t k = 12; k <= 17; ++k) {
        for (size_t length : {(size_t{1} << k) - 3, (size_t{1} << k) - 2, (size_t{1} << k) - 1}) {
            const std::string text(length, 'z');
            for (const std::string& script :
                 {text + "\r\nLF", "\"" + text + "\"\r\nLF", "!" + text + "\r\nLF"}) {
                auto r = scan(script);
                EXPECT_EQ(r.bytes.find('\r'), std::string::npos)
                    << "token of " << length << " characters";
                EXPECT_EQ(r.bytes.back(), '\n');
                for (const std::string& event : r.events)
                    EXPECT_EQ(event.find('\r'), std::string::npos) << "message of " << length;
            }
        }
    }
}

// A token is scanned again from its start after each refill of the buffer, so
// a long token must arrive in few refills: their number may grow with the
// logarithm of its length, not with the length itself.
TEST(SendtoolScriptScanner, ALongTokenIsReadInFewRefills) {
    const size_t length = 4u << 20;
    for (const std::string& script :
         {"\"" + std::string(length, 'x') + "\"", "'" + std::string(length, 'c') + "\n",
          std::string(length, '7') + " ", "!" + std::string(length, 'm') + "\n"}) {
        std::string copy = script;
        std::FILE* f = fmemopen(copy.data(), copy.size(), "r");
        sendtool_test::RecordingScript recorder;
        size_t reads = 0;
        sendtool::runScript(f, recorder, &reads);
        std::fclose(f);
        EXPECT_LE(reads, 40u) << script.substr(0, 8);
        EXPECT_GE(recorder.bytes.size() + recorder.events.size(), 1u);
    }
}

} // namespace
