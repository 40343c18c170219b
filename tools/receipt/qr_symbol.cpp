#include "qr_symbol.h"

#include <qrencode.h>

#include <memory>

namespace receipt {
namespace {

struct QrFree {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

QRecLevel toLibrary(QrLevel level) {
    switch (level) {
    case QrLevel::L:
        return QR_ECLEVEL_L;
    case QrLevel::M:
        return QR_ECLEVEL_M;
    case QrLevel::Q:
        return QR_ECLEVEL_Q;
    case QrLevel::H:
        return QR_ECLEVEL_H;
    }
    return QR_ECLEVEL_L;
}

} // namespace

std::optional<QrSymbol> encodeQr(const std::vector<uint8_t>& data, QrLevel level) {
    // The largest version holds 2953 bytes; anything longer fails anyway,
    // and checking first keeps the library from working on megabytes.
    if (data.empty() || data.size() > 2953) return std::nullopt;
    std::unique_ptr<QRcode, QrFree> code(
        QRcode_encodeData(int(data.size()), data.data(), 0, toLibrary(level)));
    if (!code || code->width <= 0) return std::nullopt;
    QrSymbol symbol;
    symbol.modules = code->width;
    const size_t count = size_t(code->width) * size_t(code->width);
    symbol.black.resize(count);
    for (size_t i = 0; i < count; ++i)
        symbol.black[i] = code->data[i] & 1;
    return symbol;
}

} // namespace receipt
