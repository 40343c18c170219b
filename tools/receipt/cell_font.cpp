#include "cell_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdlib>

namespace receipt {

CellSize cellSize(FontKind font) {
    return font == FontKind::A ? CellSize{12, 24} : CellSize{9, 17};
}

std::string defaultFontFile() {
    if (const char* named = std::getenv("TP_RECEIPT_FONT"); named && *named) return named;
    return "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
}

struct CellFont::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int baseline = 0; // rows from the cell's top
    int advance = 0;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

CellFont::CellFont(FontKind kind, const std::string& fontFile) : cell_(cellSize(kind)) {
    auto f = std::make_unique<Face>();
    if (FT_Init_FreeType(&f->library) != 0) return;
    if (FT_New_Face(f->library, fontFile.c_str(), 0, &f->face) != 0) return;
    // The largest size whose advance and whole height (ascent and descent)
    // fit the cell, so accents and descenders stay inside it.
    for (int size = cell_.height; size >= 4; --size) {
        if (FT_Set_Pixel_Sizes(f->face, 0, FT_UInt(size)) != 0) continue;
        const FT_Size_Metrics& m = f->face->size->metrics;
        const int advance = int((m.max_advance + 63) >> 6);
        const int ascent = int((m.ascender + 63) >> 6);
        const int descent = int((-m.descender + 63) >> 6);
        if (advance <= cell_.width && ascent + descent <= cell_.height) {
            f->advance = advance;
            f->baseline = ascent + (cell_.height - ascent - descent) / 2;
            face_ = std::move(f);
            return;
        }
    }
}

CellFont::~CellFont() = default;

bool CellFont::loaded() const {
    return face_ != nullptr;
}

const CellGlyph& CellFont::glyph(char32_t c) {
    auto found = cache_.find(c);
    if (found != cache_.end()) return found->second;
    return cache_.emplace(c, draw(c)).first->second;
}

CellGlyph CellFont::box() const {
    CellGlyph g{cell_.width, cell_.height, std::vector<uint32_t>(size_t(cell_.height), 0)};
    const uint32_t sides = 1u << 1 | 1u << (cell_.width - 2);
    const uint32_t across = ((1u << (cell_.width - 1)) - 1) & ~1u;
    for (int y = 3; y < cell_.height - 3; ++y)
        g.rows[size_t(y)] = sides;
    g.rows[3] = g.rows[size_t(cell_.height - 4)] = across;
    return g;
}

CellGlyph CellFont::draw(char32_t c) {
    if (!face_) return box();
    CellGlyph g{cell_.width, cell_.height, std::vector<uint32_t>(size_t(cell_.height), 0)};
    if (c == U' ' || c == U'\u00A0') return g;
    FT_Face face = face_->face;
    FT_UInt index = FT_Get_Char_Index(face, FT_ULong(c));
    if (index == 0) index = FT_Get_Char_Index(face, FT_ULong(U'?'));
    // Grey rendering with a threshold looks more like a thermal head's dots
    // than the outline font's own monochrome hinting at this size.
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        return box();
    const FT_Bitmap& b = face->glyph->bitmap;
    const int left = face->glyph->bitmap_left + (cell_.width - face_->advance) / 2;
    const int top = face_->baseline - face->glyph->bitmap_top;
    for (int row = 0; row < int(b.rows); ++row) {
        const int y = top + row;
        if (y < 0 || y >= cell_.height) continue;
        const unsigned char* line = b.buffer + ptrdiff_t(row) * b.pitch;
        for (int col = 0; col < int(b.width); ++col) {
            const int x = left + col;
            if (x >= 0 && x < cell_.width && line[col] >= 112) g.rows[size_t(y)] |= 1u << x;
        }
    }
    return g;
}

} // namespace receipt
