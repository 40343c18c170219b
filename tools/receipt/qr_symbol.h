// A QR symbol (model 2) as its module grid, drawn from stored data the way a
// receipt printer does on its print-symbol command.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace receipt {

enum class QrLevel { L, M, Q, H };

struct QrSymbol {
    int modules = 0;            // modules on each side
    std::vector<uint8_t> black; // modules x modules, row after row
    bool at(int x, int y) const {
        return black[static_cast<size_t>(y) * static_cast<size_t>(modules) +
                     static_cast<size_t>(x)] != 0;
    }
};

// The smallest symbol holding the data as 8-bit bytes; nothing when the data
// is empty or too long for any version at this level.
std::optional<QrSymbol> encodeQr(const std::vector<uint8_t>& data, QrLevel level);

} // namespace receipt
