// Code page 852 (Latin-2, DOS), the character table that the tickets select
// on the printer with "ESC t 18".
#pragma once

// The position of the character in code page 852, or -1 when the code page
// does not hold it. ASCII characters are their own positions.
int codepage852(char32_t c);
