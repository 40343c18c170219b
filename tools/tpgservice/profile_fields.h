#pragma once
// The company profile as the service keeps it: which form keys it stores and
// where each lands in the record line that the desk reads back.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace tpgservice {

// Keys that "/writesql.php" stores; anything else in a form is ignored.
std::span<const std::string_view> storedKeys();
bool isStoredKey(std::string_view key);

// The record line has this many fields; each slot names the stored key it
// shows, "id" for the company ID, or "" for a slot the service leaves empty.
inline constexpr std::size_t kRecordFieldCount = 35;
const std::array<std::string_view, kRecordFieldCount>& recordLayout();

} // namespace tpgservice
