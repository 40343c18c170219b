#include "qr_image.h"

#include "bitmap_font.h"
#include "png_writer.h"

#include <qrencode.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace tpgservice {

namespace {

constexpr int kMinModulePixels = 4;
constexpr int kMaxModulePixels = 10;
constexpr int kQuietModules = 4; // the quiet zone scanners need around the code
constexpr int kMaxWidth = 720;
constexpr int kMargin = 8;

struct QrCodeDeleter {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

struct TextLine {
    std::string text;
    int scale = 1;
};

int textWidth(const std::string& text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * kGlyphAdvance * scale - scale;
}

// Bigger letters for bigger size codes; a line that does not fit the image
// gets smaller letters first and is cut only when even the smallest is too wide.
TextLine fitLine(const std::string& utf8, int size, int maxWidth) {
    TextLine line{foldToAscii(utf8), std::clamp(size, 1, 3) + 1};
    while (line.scale > 1 && textWidth(line.text, line.scale) > maxWidth)
        --line.scale;
    while (!line.text.empty() && textWidth(line.text, line.scale) > maxWidth)
        line.text.pop_back();
    return line;
}

void drawText(Bitmap& bitmap, const TextLine& line, int top) {
    int x = (bitmap.width - textWidth(line.text, line.scale)) / 2;
    for (char c : line.text) {
        const auto& columns = glyph(c);
        for (int col = 0; col < kGlyphWidth; ++col) {
            for (int row = 0; row < kGlyphHeight; ++row) {
                if (!(columns[static_cast<std::size_t>(col)] & (1 << row))) continue;
                for (int dy = 0; dy < line.scale; ++dy) {
                    for (int dx = 0; dx < line.scale; ++dx) {
                        bitmap.set(x + col * line.scale + dx, top + row * line.scale + dy);
                    }
                }
            }
        }
        x += kGlyphAdvance * line.scale;
    }
}

int lineHeight(const TextLine& line) {
    return (kGlyphHeight + 3) * line.scale;
}

Rgb inkOf(int color) {
    switch (color) {
    case 2:
        return {0, 45, 140};
    case 3:
        return {150, 0, 0};
    default:
        return {0, 0, 0};
    }
}

} // namespace

int sizeCode(const std::string& text) {
    if (text == "1") return 1;
    if (text == "2") return 2;
    if (text == "3") return 3;
    return 0;
}

std::vector<std::uint8_t> renderQrImage(const QrImageSpec& spec) {
    std::unique_ptr<QRcode, QrCodeDeleter> code(
        QRcode_encodeString8bit(spec.url.c_str(), 0, QR_ECLEVEL_M));
    if (!code) throw std::runtime_error("the guest page address does not fit a QR code");

    const int maxText = kMaxWidth - 2 * kMargin;
    std::vector<TextLine> above, below;
    for (auto [text, size] : {std::pair{&spec.name, spec.nameSize},
                              {&spec.text1u, spec.text1uSize},
                              {&spec.text2u, spec.text2uSize}}) {
        if (!text->empty()) above.push_back(fitLine(*text, size, maxText));
    }
    for (auto [text, size] :
         {std::pair{&spec.text1d, spec.text1dSize}, {&spec.text2d, spec.text2dSize}}) {
        if (!text->empty()) below.push_back(fitLine(*text, size, maxText));
    }

    int textPixels = 0;
    int height = 2 * kMargin;
    for (const auto* lines : {&above, &below}) {
        for (const auto& line : *lines) {
            textPixels = std::max(textPixels, textWidth(line.text, line.scale) + 2 * kMargin);
            height += lineHeight(line);
        }
    }
    // Under a long company name the code grows too, so that it keeps most of
    // the width when the image is shrunk onto a sheet.
    const int modules = code->width + 2 * kQuietModules;
    const int modulePixels = std::clamp((textPixels * 3 / 5 + modules - 1) / modules,
                                        kMinModulePixels, kMaxModulePixels);
    const int qrPixels = modules * modulePixels;
    const int width = std::max(qrPixels, textPixels);
    height += qrPixels;

    Bitmap bitmap(width, height);
    int y = kMargin;
    for (const auto& line : above) {
        drawText(bitmap, line, y);
        y += lineHeight(line);
    }
    const int left = (width - qrPixels) / 2 + kQuietModules * modulePixels;
    const int top = y + kQuietModules * modulePixels;
    for (int my = 0; my < code->width; ++my) {
        for (int mx = 0; mx < code->width; ++mx) {
            if (!(code->data[my * code->width + mx] & 1)) continue;
            for (int dy = 0; dy < modulePixels; ++dy) {
                for (int dx = 0; dx < modulePixels; ++dx) {
                    bitmap.set(left + mx * modulePixels + dx, top + my * modulePixels + dy);
                }
            }
        }
    }
    y += qrPixels;
    for (const auto& line : below) {
        drawText(bitmap, line, y);
        y += lineHeight(line);
    }
    return encodePng(bitmap, inkOf(spec.color));
}

} // namespace tpgservice
