// The printer's character tables that ESC t selects: which character each
// byte from 0x80 up prints. Bytes 0x20 to 0x7E are ASCII in every table.
#pragma once

#include <cstdint>

namespace receipt {

struct CodePage {
    int number;       // the ESC t parameter
    const char* name; // "PC852"
    char32_t upper[128];
};

// The table with this ESC t number, or nullptr when the printer has none.
const CodePage* findCodePage(int number);
// Table 0, the printer's default after power-on and ESC @.
const CodePage& defaultCodePage();

// The character a printable byte (0x20 and up) shows; U+FFFD for a byte the
// table leaves empty.
char32_t toUnicode(const CodePage& page, uint8_t byte);

} // namespace receipt
