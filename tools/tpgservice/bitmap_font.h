#pragma once
// A 5x8 dot font (5x7 letters, one row for descenders) built into the
// program, so the QR images need no font files.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tpgservice {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 8;
// One blank column between letters.
inline constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Five columns, bit 0 the top row. Characters outside printable ASCII get "?".
const std::array<std::uint8_t, kGlyphWidth>& glyph(char c);

// The font knows ASCII only: UTF-8 text is folded to it, accented Latin
// letters to their base letter ("Reštaurácia" -> "Restauracia"), anything
// else to "?".
std::string foldToAscii(std::string_view utf8);

} // namespace tpgservice
