#include "script_generator.h"

#include <array>
#include <cstdio>
#include <random>
#include <string_view>

namespace sendtool_test {

namespace {

struct Control {
    const char* name;
    uint8_t value;
};

constexpr std::array<Control, 12> kControls{{{"ESC", 0x1B},
                                             {"GS", 0x1D},
                                             {"LF", 0x0A},
                                             {"CR", 0x0D},
                                             {"FS", 0x1C},
                                             {"NUL", 0x00},
                                             {"XOFF", 0x13},
                                             {"HOM", 0x0B},
                                             {"SP", 0x20},
                                             {"DC2", 0x12},
                                             {"CLR", 0x0C},
                                             {"US", 0x1F}}};

void appendNumber(std::string& out, uint32_t value) {
    int width = value < 0x100u ? 1 : value < 0x10000u ? 2 : 4;
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<char>(value >> (8 * i)));
}

class Generator {
public:
    Generator(uint32_t seed, bool crlf) : rng_(seed), crlf_(crlf) {}

    GeneratedScript run(size_t minSize) {
        while (out_.script.size() < minSize)
            line();
        return std::move(out_);
    }

private:
    uint32_t pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }

    void newline() { out_.script += crlf_ ? "\r\n" : "\n"; }

    void line() {
        switch (pick(10)) {
        case 0: {
            std::string text = "Printing table " + std::to_string(pick(100)) + " 'ok' \"x\"";
            out_.script += "!" + text;
            ++out_.messageLines;
            break;
        }
        case 1:
            out_.script += "'a comment with ESC and \"quotes\"";
            break;
        default: {
            size_t tokens = 1 + pick(12);
            for (size_t i = 0; i < tokens; ++i) {
                if (i != 0 || pick(4) == 0) out_.script += pick(3) == 0 ? "\t" : " ";
                token();
            }
        }
        }
        newline();
    }

    void token() {
        std::string& s = out_.script;
        std::string& e = out_.expected;
        char buf[32];
        switch (pick(11)) {
        case 0: { // decimal
            uint32_t v = pick(4) == 0 ? static_cast<uint32_t>(rng_() & 0x7FFFFFFF) : pick(70000);
            s += std::to_string(v);
            appendNumber(e, v);
            break;
        }
        case 1: { // $hex, 0x hex, hex with a suffix, \x hex
            uint32_t v = pick(2) == 0 ? static_cast<uint32_t>(rng_()) : pick(300);
            static const char* const forms[] = {"$%X", "0x%x", "0%XH", "\\x%X", "0%xh"};
            std::snprintf(buf, sizeof buf, forms[pick(5)], v);
            s += buf;
            appendNumber(e, v);
            break;
        }
        case 2:
        case 3: {
            const Control& c = kControls[pick(kControls.size())];
            s += c.name;
            e.push_back(static_cast<char>(c.value));
            break;
        }
        case 4: { // a name that is no control name: starts beyond the hex letters
            std::string name(1, static_cast<char>('g' + pick(20)));
            size_t len = 1 + pick(8);
            static const char kRest[] = "abcxyz_09QRS";
            for (size_t i = 0; i < len; ++i)
                name.push_back(kRest[pick(sizeof kRest - 1)]);
            s += name;
            e += name;
            break;
        }
        case 5:
        case 6: { // double-quoted text with escapes
            s += '"';
            size_t len = pick(30);
            for (size_t i = 0; i < len; ++i) {
                switch (pick(12)) {
                case 0:
                    s += "\\n";
                    e += '\n';
                    break;
                case 1: {
                    uint32_t v = pick(256);
                    std::snprintf(buf, sizeof buf, "\\x%02X", v);
                    s += buf;
                    e.push_back(static_cast<char>(v));
                    break;
                }
                case 2:
                    s += "\\\"";
                    e += '"';
                    break;
                default: {
                    char c = static_cast<char>(' ' + pick(95));
                    if (c == '"' || c == '\\') c = '.';
                    s += c;
                    e += c;
                }
                }
            }
            s += '"';
            break;
        }
        case 7: { // single-quoted text; \x takes every hex digit, keeps the low byte
            s += " '";
            size_t len = pick(20);
            for (size_t i = 0; i < len; ++i) {
                if (pick(6) == 0) {
                    uint32_t v = static_cast<uint32_t>(rng_());
                    std::snprintf(buf, sizeof buf, "\\x%X", v);
                    s += buf;
                    e.push_back(static_cast<char>(v & 0xFF));
                    // Another hex digit would join the escape.
                    s += 'z';
                    e += 'z';
                } else {
                    char c = static_cast<char>('a' + pick(26));
                    s += c;
                    e += c;
                }
            }
            s += '\'';
            break;
        }
        case 8: { // punctuation and high bytes, sent as themselves
            static const char kSingles[] = "()[]{},;:+-/=<>?@&%#~|^!.*";
            char c = pick(3) == 0 ? static_cast<char>(0x80 + pick(128))
                                  : kSingles[pick(sizeof kSingles - 1)];
            // A marker at the start of a line would be a line command.
            if (s.empty() || s.back() == '\n') s += ' ';
            s += c;
            e += c;
            break;
        }
        case 9: { // escapes of normal mode
            static const std::pair<const char*, char> kEscapes[] = {
                {"\\0", '\0'}, {"\\a", '\a'}, {"\\t", '\t'}, {"\\r", '\r'}, {"\\q", 'q'}};
            auto& esc = kEscapes[pick(5)];
            s += esc.first;
            e += esc.second;
            break;
        }
        default: { // a lone letter
            char c = static_cast<char>('G' + pick(20));
            s += c;
            e += c;
        }
        }
    }

    std::mt19937 rng_;
    bool crlf_;
    GeneratedScript out_;
};

} // namespace

GeneratedScript generateScript(size_t minSize, uint32_t seed, bool crlf) {
    return Generator(seed, crlf).run(minSize);
}

} // namespace sendtool_test
