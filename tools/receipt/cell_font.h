// The printer's resident fonts: every character drawn into a fixed cell,
// 12x24 dots for Font A and 9x17 for Font B, from a monospaced outline font
// (DejaVu Sans Mono unless told otherwise) rendered once per character.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace receipt {

enum class FontKind { A, B };

struct CellSize {
    int width;
    int height;
};
CellSize cellSize(FontKind font);

// One character in its cell, a row at a time: bit x of a row is the dot in
// column x (cells are at most 12 dots wide).
struct CellGlyph {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rows;
    bool at(int x, int y) const { return (rows[static_cast<size_t>(y)] >> x) & 1u; }
};

// The font file used when none is named: $TP_RECEIPT_FONT, else Debian's
// DejaVu Sans Mono.
std::string defaultFontFile();

class CellFont {
public:
    CellFont(FontKind kind, const std::string& fontFile);
    ~CellFont();
    CellFont(const CellFont&) = delete;
    CellFont& operator=(const CellFont&) = delete;

    CellSize cell() const { return cell_; }
    // False when the font file could not be used; every character is then
    // drawn as an empty box.
    bool loaded() const;
    // Cached: a job uses few distinct characters, the code pages a few hundred.
    const CellGlyph& glyph(char32_t c);

private:
    CellGlyph draw(char32_t c);
    CellGlyph box() const;

    struct Face; // FreeType stays out of this header
    CellSize cell_;
    std::unique_ptr<Face> face_;
    std::unordered_map<char32_t, CellGlyph> cache_;
};

} // namespace receipt
