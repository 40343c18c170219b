// Values of the script language's number and escape tokens.
#pragma once

#include <cstdint>
#include <string_view>

namespace sendtool {

// Decimal digits; values above 2147483647 count as 2147483647.
uint32_t saturatedDecimal(std::string_view digits);
// Hexadecimal digits; only the low 32 bits are kept.
uint32_t hexValue(std::string_view digits);
// The byte of "\c": \0 \a \b \t \n \r, any other character stands for itself.
uint8_t escapeByte(char c);
// A line's number as the C library reads one (leading blanks, a sign, digits
// up to the first non-digit, 0 when there are none), clamped to 32 bits.
int32_t leadingDecimal(std::string_view text);

} // namespace sendtool
