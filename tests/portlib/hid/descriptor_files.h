// Report descriptors kept as text (hex bytes, "#" comments) under
// descriptors/, so that they read in review and diff as text.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

inline std::vector<uint8_t> loadDescriptor(const std::string& name) {
    std::ifstream in(std::string(HID_DESCRIPTOR_DIR) + "/" + name + ".hex");
    if (!in) throw std::runtime_error("no descriptor " + name);
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string word;
        while (words >> word)
            bytes.push_back(uint8_t(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}
