#pragma once
// The QR image of one table: the company name and four texts around a
// scannable code of the guest page address.

#include <cstdint>
#include <string>
#include <vector>

namespace tpgservice {

struct QrImageSpec {
    std::string url; // what the code holds
    std::string name, text1u, text2u, text1d, text2d;
    // Sizes "1" to "3" as in the profile, for the name and the four texts.
    int nameSize = 2, text1uSize = 2, text2uSize = 2, text1dSize = 2, text2dSize = 2;
    int color = 1; // 1 black, 2 blue, 3 red
};

// Size or colour code as a number 1..3, or 0 when the text is none of them.
int sizeCode(const std::string& text);

// A PNG; throws std::runtime_error when the address does not fit a QR code.
std::vector<std::uint8_t> renderQrImage(const QrImageSpec& spec);

} // namespace tpgservice
