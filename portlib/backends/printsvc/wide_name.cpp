#include "backends/printsvc/wide_name.h"

#include <cstdint>

std::u16string wideName(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto b = uint8_t(text[i]);
        uint32_t c = 0xFFFD;
        size_t length = b < 0x80           ? 1
                        : (b >> 5) == 0x6  ? 2
                        : (b >> 4) == 0xE  ? 3
                        : (b >> 3) == 0x1E ? 4
                                           : 0;
        if (length == 1) c = b;
        if (length > 1 && i + length <= text.size()) {
            uint32_t v = b & (0x7F >> length);
            bool valid = true;
            for (size_t k = 1; k < length && valid; ++k) {
                auto next = uint8_t(text[i + k]);
                valid = (next & 0xC0) == 0x80;
                v = (v << 6) | (next & 0x3F);
            }
            static constexpr uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
            if (valid && v >= smallest[length] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF))
                c = v;
            else
                length = 1;
        } else if (length != 1) {
            length = 1;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += length;
    }
    return out;
}
