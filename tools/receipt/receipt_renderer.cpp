#include "receipt_renderer.h"

#include "code_pages.h"
#include "qr_symbol.h"
#include "transcript.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <optional>
#include <vector>

namespace receipt {
namespace {

constexpr int kTopMargin = 8;
constexpr int kBottomMargin = 16;
constexpr int kDefaultLineSpacing = 30; // 1/6 inch
constexpr size_t kMaxLineItems = 4096;
constexpr size_t kMaxLineImages = 16;

enum class Align { Left, Centre, Right };

struct Style {
    FontKind font = FontKind::A;
    bool bold = false;
    int underline = 0; // dots
    bool reverse = false;
    int wide = 1; // magnification across
    int tall = 1; // magnification down
    int spacing = 0;
};

// A piece of the line being collected: one character, or a picture (a QR
// symbol) that the line carries like a tall character.
struct Item {
    int x = 0;
    int width = 0;
    int height = 0;
    const CellGlyph* glyph = nullptr;
    Style style;
    int image = -1;
};

struct Image {
    QrSymbol symbol;
    int moduleSize = 1;
};

struct QrSettings {
    int model = 2;
    int moduleSize = 3;
    QrLevel level = QrLevel::L;
    std::vector<uint8_t> data;
};

std::string hex(unsigned value) {
    char s[8];
    std::snprintf(s, sizeof s, "0x%02X", value);
    return s;
}

// "ESC t", "GS ( k", "ESC 0x07": printable codes as themselves.
std::string commandName(const char* prefix, uint8_t code) {
    std::string name = prefix;
    name += ' ';
    if (code > 0x20 && code < 0x7F)
        name += char(code);
    else
        name += hex(code);
    return name;
}

const char* levelName(QrLevel level) {
    switch (level) {
    case QrLevel::L:
        return "L";
    case QrLevel::M:
        return "M";
    case QrLevel::Q:
        return "Q";
    case QrLevel::H:
        return "H";
    }
    return "?";
}

class Job {
public:
    Job(const uint8_t* data, size_t size, const ReceiptOptions& options, CellFont& fontA,
        CellFont& fontB)
        : data_(data), size_(size), paper_(options.paperWidth, options.maxLength), fontA_(fontA),
          fontB_(fontB) {
        reset();
    }

    Receipt run() {
        if (!fontA_.loaded() || !fontB_.loaded())
            transcript_.note("font file not usable: letters are drawn as boxes");
        y_ = kTopMargin;
        while (pos_ < size_ && !stopped_)
            step();
        if (!stopped_ && !items_.empty()) {
            transcript_.note("no line feed at the end: a printer would keep this line waiting");
            printLine(0, false);
        }
        paper_.extend(std::max(y_, 0) + kBottomMargin);
        return Receipt{std::move(paper_), transcript_.text()};
    }

private:
    // --- reading: every access goes through these, so nothing reads past the job

    bool have(size_t n) const { return size_ - pos_ >= n; }

    // The next n parameter bytes of a command, or nullptr when the job ends
    // first (noted; the rest of the job is gone).
    const uint8_t* params(size_t n, const std::string& name) {
        if (!have(n)) {
            transcript_.note("job ends inside " + name);
            pos_ = size_;
            return nullptr;
        }
        const uint8_t* p = data_ + pos_;
        pos_ += n;
        return p;
    }

    // Skips a command's data whose length the command gave.
    void skipData(uint64_t n, const std::string& name) {
        if (n > size_ - pos_) {
            transcript_.note("job ends inside " + name);
            pos_ = size_;
            return;
        }
        pos_ += size_t(n);
        transcript_.note("ignored " + name + ", " + std::to_string(n) + " bytes of data");
    }

    void ignored(const std::string& name) { transcript_.note("ignored " + name); }

    // --- the command set

    void step() {
        const uint8_t b = data_[pos_++];
        switch (b) {
        case 0x0A:
            lineFeed();
            break;
        case 0x0D:
            break; // only a line feed prints; CR is for printers set to add one
        case 0x09:
            tab();
            break;
        case 0x10:
            dle();
            break;
        case 0x1B:
            esc();
            break;
        case 0x1C:
            fs();
            break;
        case 0x1D:
            gs();
            break;
        default:
            if (b >= 0x20)
                character(b);
            else
                transcript_.note("ignored control byte " + hex(b));
        }
    }

    void esc() {
        const uint8_t* c = params(1, "ESC");
        if (!c) return;
        const std::string name = commandName("ESC", *c);
        const uint8_t* p = nullptr;
        switch (*c) {
        case '@':
            if (!items_.empty()) transcript_.note("ESC @ dropped the line not yet printed");
            dropLine();
            reset();
            return;
        case '!':
            if ((p = params(1, name))) {
                style_.font = (p[0] & 0x01) ? FontKind::B : FontKind::A;
                style_.bold = p[0] & 0x08;
                style_.tall = (p[0] & 0x10) ? 2 : 1;
                style_.wide = (p[0] & 0x20) ? 2 : 1;
                style_.underline = (p[0] & 0x80) ? 1 : 0;
            }
            return;
        case 'E':
        case 'G':
            if ((p = params(1, name))) style_.bold = p[0] & 0x01;
            return;
        case '-':
            if ((p = params(1, name)) && (p[0] % 48) <= 2 && p[0] <= 50)
                style_.underline = p[0] % 48;
            return;
        case 'M':
            if ((p = params(1, name))) {
                if (p[0] == 0 || p[0] == 48)
                    style_.font = FontKind::A;
                else if (p[0] == 1 || p[0] == 49)
                    style_.font = FontKind::B;
                else
                    transcript_.note(name + " " + std::to_string(p[0]) + ": no such font here");
            }
            return;
        case ' ':
            if ((p = params(1, name))) style_.spacing = p[0];
            return;
        case 'a':
            if ((p = params(1, name)) && (p[0] % 48) <= 2 && p[0] <= 50) align_ = Align(p[0] % 48);
            return;
        case 'd':
            if ((p = params(1, name))) {
                printLine(0, false);
                for (int i = 0; i < p[0] && !stopped_; ++i) {
                    transcript_.endLine();
                    advance(lineSpacing_);
                }
            }
            return;
        case 'J':
            if ((p = params(1, name))) {
                printLine(0, false);
                advance(p[0]);
            }
            return;
        case '2':
            lineSpacing_ = kDefaultLineSpacing;
            return;
        case '3':
            if ((p = params(1, name))) lineSpacing_ = p[0];
            return;
        case 't':
            if ((p = params(1, name))) selectCodePage(p[0]);
            return;
        case '$':
            if ((p = params(2, name))) {
                const int to = p[0] | p[1] << 8;
                if (to < paper_.width()) x_ = to;
            }
            return;
        case '\\':
            if ((p = params(2, name))) {
                const int to = x_ + int16_t(uint16_t(p[0] | p[1] << 8));
                if (to >= 0 && to < paper_.width()) x_ = to;
            }
            return;
        case 'D':
            setTabs();
            return;
        case 'i':
        case 'm':
            cut(true, 0);
            return;
        case 'p':
            if (params(3, name)) transcript_.note("drawer kick pulse");
            return;
        case 'c':
            if (params(2, name)) ignored(name);
            return;
        case 'W':
            if (params(8, name)) ignored(name);
            return;
        case '%':
        case '=':
        case '?':
        case 'K':
        case 'R':
        case 'T':
        case 'U':
        case 'V':
        case 'e':
        case 'r':
        case 'u':
        case '{':
            if (params(1, name)) ignored(name);
            return;
        case 'L':
        case 'S':
        case 'v':
        case 0x0C:
            ignored(name);
            return;
        case '*':
            bitImage(name);
            return;
        case '&':
            userCharacters(name);
            return;
        case '(':
            lengthPrefixed(name);
            return;
        default:
            transcript_.note("unknown command " + name);
            return;
        }
    }

    void gs() {
        const uint8_t* c = params(1, "GS");
        if (!c) return;
        const std::string name = commandName("GS", *c);
        const uint8_t* p = nullptr;
        switch (*c) {
        case '!':
            if ((p = params(1, name))) {
                if (p[0] & 0x88) {
                    transcript_.note(name + " " + hex(p[0]) + ": size out of range, ignored");
                } else {
                    style_.wide = (p[0] >> 4) + 1;
                    style_.tall = (p[0] & 0x07) + 1;
                }
            }
            return;
        case 'B':
            if ((p = params(1, name))) style_.reverse = p[0] & 0x01;
            return;
        case 'V':
            cutCommand(name);
            return;
        case '(':
            if (have(1) && data_[pos_] == 'k') {
                ++pos_;
                symbol();
            } else {
                lengthPrefixed(name);
            }
            return;
        case 'v':
            if (have(1) && data_[pos_] == '0') {
                ++pos_;
                raster();
            } else {
                transcript_.note("unknown command " + name);
            }
            return;
        case '$':
        case 'L':
        case 'P':
        case 'W':
        case '\\':
            if (params(2, name)) ignored(name);
            return;
        case '^':
            if (params(3, name)) ignored(name);
            return;
        case '/':
        case 'E':
        case 'H':
        case 'I':
        case 'T':
        case 'Z':
        case 'a':
        case 'b':
        case 'f':
        case 'h':
        case 'j':
        case 'r':
        case 'w':
            if (params(1, name)) ignored(name);
            return;
        case ':':
            ignored(name);
            return;
        case 'k':
            barcode(name);
            return;
        case '*':
            if ((p = params(2, name))) skipData(uint64_t(p[0]) * p[1] * 8, name);
            return;
        case '8':
            if (have(1) && data_[pos_] == 'L') {
                ++pos_;
                if ((p = params(4, "GS 8 L")))
                    skipData(uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 |
                                 uint64_t(p[3]) << 24,
                             "GS 8 L");
            } else {
                transcript_.note("unknown command " + name);
            }
            return;
        default:
            transcript_.note("unknown command " + name);
            return;
        }
    }

    void fs() {
        const uint8_t* c = params(1, "FS");
        if (!c) return;
        const std::string name = commandName("FS", *c);
        const uint8_t* p = nullptr;
        switch (*c) {
        case '!':
        case '-':
        case 'C':
        case 'W':
            if (params(1, name)) ignored(name);
            return;
        case 'S':
        case 'p':
            if (params(2, name)) ignored(name);
            return;
        case '&':
        case '.':
            ignored(name);
            return;
        case '2':
            if (params(2, name)) skipData(72, name);
            return;
        case '(':
            lengthPrefixed(name);
            return;
        case 'q':
            if ((p = params(1, name))) {
                uint64_t total = 0;
                for (int i = 0; i < p[0]; ++i) {
                    const uint8_t* size = params(4, name);
                    if (!size) return;
                    const uint64_t bytes =
                        uint64_t(size[0] | size[1] << 8) * uint64_t(size[2] | size[3] << 8) * 8;
                    if (bytes > size_ - pos_) {
                        transcript_.note("job ends inside " + name);
                        pos_ = size_;
                        return;
                    }
                    pos_ += size_t(bytes);
                    total += bytes;
                }
                transcript_.note("ignored " + name + ", " + std::to_string(total) +
                                 " bytes of data");
            }
            return;
        default:
            transcript_.note("unknown command " + name);
            return;
        }
    }

    // Real-time commands; they do nothing to the paper.
    void dle() {
        if (!have(1)) {
            transcript_.note("ignored control byte 0x10");
            return;
        }
        const uint8_t c = data_[pos_];
        if (c == 0x04 || c == 0x05) {
            ++pos_;
            if (params(1, commandName("DLE", c))) ignored(commandName("DLE", c));
        } else if (c == 0x14) {
            ++pos_;
            if (params(3, "DLE DC4")) ignored("DLE DC4");
        } else {
            transcript_.note("ignored control byte 0x10");
        }
    }

    // ESC ( X, GS ( X, FS ( X: a function number and two length bytes.
    void lengthPrefixed(const std::string& prefix) {
        const uint8_t* p = params(3, prefix);
        if (!p) return;
        const std::string name = prefix + " " + commandName("", p[0]).substr(1);
        skipData(uint64_t(p[1] | p[2] << 8), name);
    }

    void bitImage(const std::string& name) {
        const uint8_t* p = params(3, name);
        if (!p) return;
        const uint64_t columns = uint64_t(p[1] | p[2] << 8);
        skipData(columns * ((p[0] == 32 || p[0] == 33) ? 3 : 1), name);
    }

    void userCharacters(const std::string& name) {
        const uint8_t* p = params(3, name);
        if (!p) return;
        const uint64_t rows = p[0];
        uint64_t total = 0;
        for (int code = p[1]; code <= p[2]; ++code) {
            const uint8_t* width = params(1, name);
            if (!width) return;
            const uint64_t bytes = rows * width[0];
            if (bytes > size_ - pos_) {
                transcript_.note("job ends inside " + name);
                pos_ = size_;
                return;
            }
            pos_ += size_t(bytes);
            total += bytes + 1;
        }
        transcript_.note("ignored " + name + ", " + std::to_string(total) + " bytes of data");
    }

    void barcode(const std::string& name) {
        const uint8_t* m = params(1, name);
        if (!m) return;
        size_t start = pos_, length = 0;
        if (*m <= 6) {
            // Data up to a NUL byte.
            while (pos_ < size_ && data_[pos_] != 0)
                ++pos_;
            if (pos_ == size_) {
                transcript_.note("job ends inside " + name);
                return;
            }
            length = pos_ - start;
            ++pos_;
        } else {
            const uint8_t* n = params(1, name);
            if (!n) return;
            start = pos_;
            if (!params(*n, name)) return;
            length = *n;
        }
        transcript_.note("barcode not drawn, type " + std::to_string(*m) + ": " +
                         escapeBytes(data_ + start, length, 80));
    }

    // --- characters and lines

    CellFont& font() { return style_.font == FontKind::A ? fontA_ : fontB_; }

    void character(uint8_t b) {
        const char32_t c = toUnicode(*page_, b);
        const CellGlyph& g = font().glyph(c);
        Item item;
        item.glyph = &g;
        item.style = style_;
        item.width = (g.width + style_.spacing) * style_.wide;
        item.height = g.height * style_.tall;
        // A character that does not fit prints the line and starts the next.
        if (x_ > 0 && x_ + item.width > paper_.width()) printLine(lineSpacing_, false);
        if (stopped_) return;
        place(item);
        transcript_.addCharacter(c);
        lineHasText_ = true;
    }

    void place(Item item) {
        if (items_.size() >= kMaxLineItems) printLine(lineSpacing_, false);
        item.x = x_;
        items_.push_back(item);
        x_ = std::min(x_ + item.width, paper_.width());
    }

    void tab() {
        const int step = (cellSize(style_.font).width + style_.spacing) * style_.wide;
        for (int stop : tabs_) {
            const int at = stop * step;
            if (at > x_) {
                if (at < paper_.width()) {
                    x_ = at;
                    transcript_.addCharacter(U'\t');
                    lineHasText_ = true;
                }
                return;
            }
        }
    }

    void setTabs() {
        tabs_.clear();
        // At most 32 stops, then the terminating NUL.
        for (int i = 0; i <= 32; ++i) {
            const uint8_t* p = params(1, "ESC D");
            if (!p || *p == 0) return;
            if (tabs_.empty() || *p > tabs_.back()) tabs_.push_back(*p);
        }
    }

    void lineFeed() { printLine(lineSpacing_, true); }

    // Prints the collected line and feeds the paper by its height, at least
    // `minFeed`. A line feed on an empty line is an empty line of the
    // transcript; a feed command's is not.
    void printLine(int minFeed, bool emptyLineCounts) {
        int height = 0, used = 0;
        for (const Item& item : items_) {
            height = std::max(height, item.height);
            used = std::max(used, item.x + item.width);
        }
        const int width = paper_.width();
        const int offset = align_ == Align::Left     ? 0
                           : align_ == Align::Centre ? std::max(0, (width - used) / 2)
                                                     : std::max(0, width - used);
        if (!items_.empty()) {
            if (!room(y_ + height)) return;
            for (const Item& item : items_)
                draw(item, offset + item.x, y_ + height - item.height);
        }
        if (lineHasText_ || (emptyLineCounts && items_.empty())) transcript_.endLine();
        dropLine();
        advance(std::max(height, minFeed));
    }

    void dropLine() {
        items_.clear();
        images_.clear();
        x_ = 0;
        lineHasText_ = false;
    }

    bool room(int bottom) {
        if (paper_.extend(bottom)) return true;
        transcript_.note("the paper reached its length limit of " +
                         std::to_string(paper_.maxLength()) +
                         " dots; the rest of the job is not drawn");
        stopped_ = true;
        return false;
    }

    void advance(int dots) {
        if (!stopped_ && room(y_ + dots)) y_ += dots;
    }

    void draw(const Item& item, int left, int y) {
        if (item.image >= 0) {
            const Image& image = images_[size_t(item.image)];
            const int m = image.moduleSize;
            for (int my = 0; my < image.symbol.modules; ++my)
                for (int mx = 0; mx < image.symbol.modules; ++mx)
                    if (image.symbol.at(mx, my)) paper_.fill(left + mx * m, y + my * m, m, m);
            return;
        }
        const CellGlyph& g = *item.glyph;
        const Style& s = item.style;
        if (left >= paper_.width()) return;
        // Emphasis strikes each dot twice, the second one dot right, into
        // the spacing when there is some.
        const int inked = s.bold && s.spacing > 0 ? g.width + 1 : g.width;
        const uint32_t cell = (1u << inked) - 1;
        const int spaceFrom = inked, spaceTo = g.width + s.spacing;
        for (int gy = 0; gy < g.height; ++gy) {
            uint32_t row = g.rows[size_t(gy)];
            if (s.bold) row |= row << 1;
            row &= cell;
            const bool under = s.underline && gy >= g.height - s.underline;
            if (under) row = cell;
            if (s.reverse) row = ~row & cell;
            const int top = y + gy * s.tall;
            // Runs of dots, not single dots: fewer and wider fills.
            while (row) {
                const int from = std::countr_zero(row);
                const int length = std::countr_one(row >> from);
                paper_.fill(left + from * s.wide, top, length * s.wide, s.tall);
                row &= ~(((1u << length) - 1) << from);
            }
            if (under != s.reverse && spaceTo > spaceFrom)
                paper_.fill(left + spaceFrom * s.wide, top, (spaceTo - spaceFrom) * s.wide, s.tall);
        }
    }

    // --- code pages

    void selectCodePage(int number) {
        if (const CodePage* page = findCodePage(number)) {
            page_ = page;
            transcript_.note("code page " + std::to_string(number) + ": " + page->name);
        } else {
            transcript_.note("ESC t " + std::to_string(number) + ": no such code page here, " +
                             page_->name + " kept");
        }
    }

    // --- cuts

    void cutCommand(const std::string& name) {
        const uint8_t* m = params(1, name);
        if (!m) return;
        switch (*m) {
        case 0:
        case 48:
            cut(false, 0);
            return;
        case 1:
        case 49:
            cut(true, 0);
            return;
        case 65:
        case 66:
        case 97:
        case 98:
        case 103:
        case 104:
            if (const uint8_t* n = params(1, name)) cut(*m % 2 == 0, *n);
            return;
        default:
            transcript_.note(name + " " + std::to_string(*m) + ": no such cut, ignored");
        }
    }

    // A dashed line across the paper; a partial cut leaves the middle uncut.
    void cut(bool partial, int feed) {
        printLine(0, false);
        advance(feed + 6);
        if (stopped_ || !room(y_ + 2)) return;
        const int width = paper_.width();
        const int bridge = partial ? 48 : 0;
        // Dashes of 10 dots every 16, less the bridge.
        const int bridgeFrom = (width - bridge) / 2, bridgeTo = (width + bridge) / 2;
        for (int from = 0; from < width; from += 16) {
            const int to = std::min(from + 10, width);
            paper_.fill(from, y_, std::min(to, bridgeFrom) - from, 2);
            const int after = std::max(from, bridgeTo);
            paper_.fill(after, y_, to - after, 2);
        }
        transcript_.note(partial ? "partial cut" : "full cut");
        advance(2 + 22);
    }

    // --- GS ( k: two-dimensional symbols

    void symbol() {
        const uint8_t* p = params(2, "GS ( k");
        if (!p) return;
        const size_t length = size_t(p[0] | p[1] << 8);
        const uint8_t* d = params(length, "GS ( k");
        if (!d) return;
        if (length < 2) {
            transcript_.note("GS ( k with " + std::to_string(length) +
                             " bytes: too short, ignored");
            return;
        }
        if (d[0] != 49) {
            transcript_.note("ignored GS ( k for symbol type " + std::to_string(d[0]) + ", " +
                             std::to_string(length) + " bytes");
            return;
        }
        const uint8_t fn = d[1];
        const uint8_t n = length > 2 ? d[2] : 0;
        // A setting whose length leaves its value out changes nothing; the
        // value then follows as ordinary data, as on a printer.
        if ((fn == 65 || fn == 67 || fn == 69) && length < 3) {
            transcript_.note("GS ( k QR function " + std::to_string(fn) + " with length " +
                             std::to_string(length) + " has no value: ignored");
            return;
        }
        switch (fn) {
        case 65:
            if (n >= 49 && n <= 51) qr_.model = n - 48;
            return;
        case 67:
            if (n >= 1 && n <= 16) qr_.moduleSize = n;
            return;
        case 69:
            if (n >= 48 && n <= 51) qr_.level = QrLevel(n - 48);
            return;
        case 80:
            qr_.data.assign(d + std::min<size_t>(3, length), d + length);
            return;
        case 81:
            printQr();
            return;
        default:
            transcript_.note("ignored GS ( k QR function " + std::to_string(fn));
            return;
        }
    }

    void printQr() {
        if (qr_.data.empty()) {
            transcript_.note("QR code not printed: no data stored");
            return;
        }
        // Encoding is the costly part; a job printing the same symbol again
        // (or failing to, again) pays for it once.
        if (!lastQrTried_ || lastQrData_ != qr_.data || lastQrLevel_ != qr_.level) {
            lastQrTried_ = true;
            lastQr_ = encodeQr(qr_.data, qr_.level);
            lastQrData_ = qr_.data;
            lastQrLevel_ = qr_.level;
        }
        const std::string what = "QR code, model " + std::to_string(qr_.model) + ", module " +
                                 std::to_string(qr_.moduleSize) + " dots, level " +
                                 levelName(qr_.level) + ": " +
                                 escapeBytes(qr_.data.data(), qr_.data.size(), 400);
        if (!lastQr_) {
            transcript_.note(what + " (not printed: too much data for a symbol)");
            return;
        }
        const int side = lastQr_->modules * qr_.moduleSize;
        if (side > paper_.width()) {
            transcript_.note(what + " (not printed: wider than the paper)");
            return;
        }
        if (x_ + side > paper_.width() || images_.size() >= kMaxLineImages)
            printLine(lineSpacing_, false);
        if (stopped_) return;
        Image image{*lastQr_, qr_.moduleSize};
        images_.push_back(std::move(image));
        Item item;
        item.image = int(images_.size() - 1);
        item.width = side;
        item.height = side;
        place(item);
        transcript_.note(what);
    }

    // --- GS v 0: raster image, printed at once as a block of its own

    void raster() {
        const uint8_t* p = params(5, "GS v 0");
        if (!p) return;
        const int mode = p[0] % 48;
        const int bytesAcross = p[1] | p[2] << 8;
        const int rows = p[3] | p[4] << 8;
        const int wide = (mode & 1) ? 2 : 1, tall = (mode & 2) ? 2 : 1;
        const size_t total = size_t(bytesAcross) * size_t(rows);
        const size_t present = std::min(total, size_ - pos_);
        const uint8_t* d = data_ + pos_;
        pos_ += present;
        transcript_.note("raster image " + std::to_string(bytesAcross * 8) + "x" +
                         std::to_string(rows) + " dots" +
                         (wide > 1 || tall > 1 ? ", magnified" : ""));
        if (present < total) transcript_.note("job ends inside GS v 0");
        printLine(0, false);
        if (stopped_ || bytesAcross == 0) return;
        const int width = bytesAcross * 8 * wide;
        const int left = align_ == Align::Left     ? 0
                         : align_ == Align::Centre ? std::max(0, (paper_.width() - width) / 2)
                                                   : std::max(0, paper_.width() - width);
        const int shown = int(std::min(size_t(rows), present / size_t(bytesAcross)));
        const int across = std::min(bytesAcross, (paper_.width() + 7) / 8);
        for (int row = 0; row < shown && !stopped_; ++row) {
            if (!room(y_ + tall)) return;
            const uint8_t* line = d + size_t(row) * size_t(bytesAcross);
            for (int byte = 0; byte < across; ++byte)
                for (int bit = 0; bit < 8; ++bit)
                    if (line[byte] & (0x80 >> bit))
                        paper_.fill(left + (byte * 8 + bit) * wide, y_, wide, tall);
            y_ += tall;
        }
        if (present < total) pos_ = size_;
    }

    // --- state

    void reset() {
        style_ = Style{};
        align_ = Align::Left;
        lineSpacing_ = kDefaultLineSpacing;
        page_ = &defaultCodePage();
        tabs_.clear();
        for (int i = 1; i <= 32; ++i)
            tabs_.push_back(i * 8);
        qr_ = QrSettings{};
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool stopped_ = false;

    Paper paper_;
    CellFont& fontA_;
    CellFont& fontB_;
    Transcript transcript_;

    Style style_;
    Align align_ = Align::Left;
    int lineSpacing_ = kDefaultLineSpacing;
    const CodePage* page_ = nullptr;
    std::vector<int> tabs_;
    QrSettings qr_;
    bool lastQrTried_ = false;
    std::optional<QrSymbol> lastQr_;
    std::vector<uint8_t> lastQrData_;
    QrLevel lastQrLevel_ = QrLevel::L;

    int x_ = 0;
    int y_ = 0;
    bool lineHasText_ = false;
    std::vector<Item> items_;
    std::vector<Image> images_;
};

} // namespace

ReceiptRenderer::ReceiptRenderer(const std::string& fontFile)
    : fontA_(FontKind::A, fontFile), fontB_(FontKind::B, fontFile) {}

Receipt ReceiptRenderer::render(const uint8_t* job, size_t size, const ReceiptOptions& options) {
    static const uint8_t nothing = 0;
    return Job(job ? job : &nothing, job ? size : 0, options, fontA_, fontB_).run();
}

} // namespace receipt
