// The receipt renderer on hand-made jobs: where ink lands on the paper, and
// what the transcript says.
#include "receipt_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using receipt::Receipt;
using receipt::ReceiptOptions;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // right, bottom inclusive
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    bool empty() const { return right < 0; }
};

// A literal's bytes, NULs included.
template <size_t N> std::string B(const char (&s)[N]) {
    return std::string(s, N - 1);
}

// The ink of the rows [from, to).
Box ink(const receipt::Paper& paper, int from = 0, int to = 1 << 30) {
    Box b;
    for (int y = std::max(from, 0); y < std::min(to, paper.length()); ++y)
        for (int x = 0; x < paper.width(); ++x)
            if (paper.at(x, y)) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

class ReceiptRendererTest : public ::testing::Test {
protected:
    // One renderer for the suite: loading the font is the slow part.
    static void SetUpTestSuite() { renderer_ = new receipt::ReceiptRenderer(); }
    static void TearDownTestSuite() {
        delete renderer_;
        renderer_ = nullptr;
    }

    // The job is copied into a buffer of exactly its size, so that AddressSanitizer
    // sees any read past its end.
    static Receipt render(const std::string& job, ReceiptOptions options = {}) {
        std::vector<uint8_t> exact(job.begin(), job.end());
        return renderer_->render(exact.data(), exact.size(), options);
    }

    static receipt::ReceiptRenderer* renderer_;
};
receipt::ReceiptRenderer* ReceiptRendererTest::renderer_ = nullptr;

TEST_F(ReceiptRendererTest, TheFontIsThere) {
    // Without it every letter is a box; the other cases would pass on boxes.
    EXPECT_TRUE(renderer_->fontLoaded()) << receipt::defaultFontFile();
}

TEST_F(ReceiptRendererTest, MagnifiedTextIsExactlyAsManyTimesWiderAndTaller) {
    const Box normal = ink(render("HH\n").paper);
    ASSERT_FALSE(normal.empty());
    struct Case {
        const char* name;
        std::string select;
        int wide, tall;
    } cases[] = {
        {"ESC ! 48", "\x1b!\x30", 2, 2},  {"ESC ! 32", "\x1b!\x20", 2, 1},
        {"ESC ! 16", "\x1b!\x10", 1, 2},  {"GS ! 0x11", "\x1d!\x11", 2, 2},
        {"GS ! 0x72", "\x1d!\x72", 8, 3},
    };
    for (const Case& c : cases) {
        const Box big = ink(render(c.select + "HH\n").paper);
        EXPECT_EQ(big.width(), normal.width() * c.wide) << c.name;
        const Box first = ink(render(c.select + "H\n").paper);
        const Box one = ink(render("H\n").paper);
        EXPECT_EQ(first.width(), one.width() * c.wide) << c.name;
        EXPECT_EQ(first.height(), one.height() * c.tall) << c.name;
        EXPECT_EQ(first.left, one.left * c.wide) << c.name;
    }
}

TEST_F(ReceiptRendererTest, AlignedLinesEndWhereTheyShould) {
    struct Case {
        int paper;
        char align;
    } cases[] = {{576, 0}, {576, 1}, {576, 2}, {384, 48}, {384, 49}, {384, 50}};
    for (const Case& c : cases) {
        ReceiptOptions o;
        o.paperWidth = c.paper;
        // "MMMM" fills its cells nearly to their edges: 4 cells of 12 dots.
        const Box b = ink(render(std::string("\x1b"
                                             "a") +
                                     c.align + "MMMM\n",
                                 o)
                              .paper);
        const int cells = 4 * 12;
        const int mode = c.align % 48;
        const int start = mode == 0 ? 0 : mode == 1 ? (c.paper - cells) / 2 : c.paper - cells;
        SCOPED_TRACE(std::to_string(c.paper) + " dots, ESC a " + std::to_string(int(c.align)));
        EXPECT_GE(b.left, start);
        EXPECT_LE(b.left, start + 2);
        EXPECT_LE(b.right, start + cells - 1);
        EXPECT_GE(b.right, start + cells - 3);
    }
}

TEST_F(ReceiptRendererTest, CodePagesGiveTheirCharacters) {
    struct Case {
        int page;
        std::string bytes;
        std::string text;
    } cases[] = {
        {18, "Caf\x82", "Caf\u00e9"}, // the desk's é in code page 852
        {18, "\xe9\x9f\xe5\xa7", "\u00da\u010d\u0148\u017e"},
        {0, "\x82\xe1\x9b", "\u00e9\u00df\u00a2"},
        {2, "\xd5\x9e", "\u0131\u00d7"},
        {16, "\x80\x9a", "\u20ac\u0161"},
        {17, "\x80\xef", "\u0410\u044f"},
        {19, "\xd5", "\u20ac"},
    };
    for (const auto& c : cases) {
        const std::string job = std::string("\x1bt") + char(c.page) + c.bytes + "\n";
        const Receipt r = render(job);
        EXPECT_NE(r.transcript.find("\n" + c.text + "\n"), std::string::npos)
            << "page " << c.page << ": " << r.transcript;
        EXPECT_FALSE(ink(r.paper).empty());
    }
    // A table the printer lacks keeps the one in use.
    const Receipt kept = render(B("\x1bt\x12\x1bt\x05\x82\n"));
    EXPECT_NE(kept.transcript.find("[ESC t 5: no such code page here, PC852 kept]\n\u00e9\n"),
              std::string::npos)
        << kept.transcript;
}

TEST_F(ReceiptRendererTest, CommandsNotDrawnAreSkippedByTheirLengthAndNamed) {
    struct Case {
        std::string command;
        std::string note;
    } cases[] = {
        {"\x1b\x07", "[unknown command ESC 0x07]"},
        {"\x1bR\x02", "[ignored ESC R]"},
        {B("\x1d(L\x04\x00"
           "0pAB"),
         "[ignored GS ( L, 4 bytes of data]"},
        {B("\x1d"
           "8L\x03\x00\x00\x00"
           "ABC"),
         "[ignored GS 8 L, 3 bytes of data]"},
        {B("\x1b*\x21\x02\x00"
           "ABCDEF"),
         "[ignored ESC *, 6 bytes of data]"},
        {B("\x1dk\x04"
           "123\x00"),
         "[barcode not drawn, type 4: 123]"},
        {"\x1dkI\x03"
         "A\nB",
         "[barcode not drawn, type 73: A\\x0AB]"},
        {B("\x1c"
           "q\x01\x01\x00\x01\x00"
           "ABCDEFGH"),
         "[ignored FS q, 8 bytes of data]"},
        {B("\x1d(k\x03\x00\x30\x41\x00"), "[ignored GS ( k for symbol type 48, 3 bytes]"},
        {B("\x1bp\x00\x19\xfa"), "[drawer kick pulse]"},
        {"\x10\x04\x01", "[ignored DLE 0x04]"},
        {"\x07", "[ignored control byte 0x07]"},
    };
    for (const auto& c : cases) {
        const Receipt r = render("A" + c.command + "Z\n");
        EXPECT_EQ(r.transcript, c.note + "\nAZ\n") << c.note;
    }
}

TEST_F(ReceiptRendererTest, AJobCutShortEndsInsideItsLastCommand) {
    // Every beginning of a job full of commands renders, reads nothing past
    // its end (AddressSanitizer watches) and says where it stopped.
    const std::string job = B("\x1bt\x12\x1b!\x30"
                              "Caf\x82\n\x1d(k\x06\x00\x31\x50\x30"
                              "abc\x1d(k\x03\x00\x31\x51\x30"
                              "\x1dv0\x00\x01\x00\x02\x00\xff\x81\x1b"
                              "D\x08\x10\x00\tX\x1dVA\x05\x1b"
                              "a\x01Y\n");
    for (size_t n = 0; n <= job.size(); ++n) {
        const Receipt r = render(job.substr(0, n));
        EXPECT_EQ(r.paper.width(), 576);
        EXPECT_GT(r.paper.length(), 0);
    }
    EXPECT_NE(render(job.substr(0, 17)).transcript.find("[job ends inside GS ( k]"),
              std::string::npos);
}

// The paper keeps eight dots a byte: a rectangle must ink exactly its dots,
// wherever it starts and ends in a byte, clipped at the edges, and the bits
// past a width that is no multiple of eight stay clear.
TEST(ReceiptPaper, FillInksExactlyTheDotsOfTheRectangleOnThePaper) {
    const struct {
        int x, y, w, h;
    } fills[] = {{0, 0, 1, 1},   {3, 1, 2, 1},  {7, 2, 2, 1},  {5, 3, 11, 2}, {0, 5, 21, 1},
                 {-4, 6, 6, 1},  {17, 7, 9, 1}, {8, 8, 8, 1},  {9, 9, 0, 1},  {2, -1, 3, 2},
                 {1, 10, 19, 3}, {4, 12, 1, 9}, {-9, 9, 5, 1}, {21, 0, 3, 1}};
    for (const auto& f : fills) {
        receipt::Paper paper(21, 100);
        paper.extend(14);
        paper.fill(f.x, f.y, f.w, f.h);
        for (int y = 0; y < paper.length(); ++y)
            for (int x = 0; x < paper.width(); ++x)
                ASSERT_EQ(paper.at(x, y), x >= f.x && x < f.x + f.w && y >= f.y && y < f.y + f.h)
                    << "fill " << f.x << "," << f.y << " " << f.w << "x" << f.h << " dot " << x
                    << "," << y;
        for (int y = 0; y < paper.length(); ++y)
            ASSERT_EQ(paper.row(y)[2] & 0x07, 0) << "row " << y;
    }
}

TEST_F(ReceiptRendererTest, PaperHasALengthLimit) {
    ReceiptOptions o;
    o.maxLength = 3000;
    std::string job;
    for (int i = 0; i < 1000; ++i)
        job += "\x1b"
               "d\xff";
    const Receipt r = render(job + "never drawn\n", o);
    EXPECT_EQ(r.paper.length(), 3000);
    EXPECT_NE(r.transcript.find("[the paper reached its length limit of 3000 dots; the rest of "
                                "the job is not drawn]"),
              std::string::npos);
    EXPECT_EQ(r.transcript.find("never drawn"), std::string::npos);
}

TEST_F(ReceiptRendererTest, RepeatedNotesAreCounted) {
    const Receipt r = render(std::string(5000, '\0') + "A\n");
    EXPECT_EQ(r.transcript, "[ignored control byte 0x00]\n[... 5000 times in a row]\nA\n");
}

TEST_F(ReceiptRendererTest, CutsAreDashedLinesAcrossThePaper) {
    struct Case {
        std::string cut;
        const char* note;
        bool partial;
    } cases[] = {
        {B("\x1dV\x00"), "[full cut]", false}, {"\x1dV1", "[partial cut]", true},
        {"\x1dVA\x10", "[full cut]", false},   {"\x1dVB\x10", "[partial cut]", true},
        {"\x1bi", "[partial cut]", true},      {"\x1bm", "[partial cut]", true},
    };
    for (const auto& c : cases) {
        const Receipt r = render(c.cut);
        EXPECT_EQ(r.transcript, std::string(c.note) + "\n");
        const Box line = ink(r.paper);
        ASSERT_FALSE(line.empty()) << c.note;
        EXPECT_EQ(line.height(), 2) << c.note;
        EXPECT_EQ(line.left, 0) << c.note;
        EXPECT_GE(line.right, 560) << c.note;
        // Dashes, and a partial cut leaves the middle of the paper whole.
        EXPECT_FALSE(r.paper.at(12, line.top)) << c.note;
        EXPECT_EQ(r.paper.at(288, line.top), !c.partial) << c.note;
    }
}

TEST_F(ReceiptRendererTest, RasterImagesAndQrSymbolsLandWhereTheyAreSent) {
    // 16 x 2 dots: the first row's left half and the second row's right half.
    const Receipt r = render(B("\x1dv0\x00\x02\x00\x02\x00\xff\x00\x00\xff"));
    const Box b = ink(r.paper);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.width(), 16);
    EXPECT_EQ(b.height(), 2);
    EXPECT_TRUE(r.paper.at(7, b.top) && !r.paper.at(8, b.top));
    EXPECT_TRUE(!r.paper.at(7, b.bottom) && r.paper.at(8, b.bottom));
    // Quadruple (m = 3): each dot 2 x 2.
    const Box big = ink(render(B("\x1dv0\x03\x01\x00\x01\x00\x80")).paper);
    EXPECT_EQ(big.width(), 2);
    EXPECT_EQ(big.height(), 2);

    // A QR symbol after ESC $ 170 starts at dot 170 with its finder pattern,
    // in modules of the size set (21 modules for three bytes).
    const Receipt qr = render(B("\x1d(k\x03\x00\x31\x43\x05"
                                "\x1d(k\x06\x00\x31\x50\x30"
                                "abc\x1b$\xaa\x00\x1d(k\x03\x00\x31\x51\x30\n"));
    const Box q = ink(qr.paper);
    EXPECT_EQ(q.left, 170);
    EXPECT_EQ(q.width(), 21 * 5);
    EXPECT_EQ(q.height(), 21 * 5);
    EXPECT_EQ(qr.transcript, "[QR code, model 2, module 5 dots, level L: abc]\n");
}

} // namespace
