#include "code_pages.h"

namespace receipt {
namespace {

const CodePage kPages[] = {
#include "code_page_tables.inc"
};

} // namespace

const CodePage* findCodePage(int number) {
    for (const CodePage& page : kPages)
        if (page.number == number) return &page;
    return nullptr;
}

const CodePage& defaultCodePage() {
    return kPages[0];
}

char32_t toUnicode(const CodePage& page, uint8_t byte) {
    if (byte < 0x7F) return byte;
    if (byte == 0x7F) return U' ';
    char32_t c = page.upper[byte - 0x80];
    return c ? c : U'\uFFFD';
}

} // namespace receipt
