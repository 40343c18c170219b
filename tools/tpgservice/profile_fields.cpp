#include "profile_fields.h"

#include <algorithm>

namespace tpgservice {

namespace {

constexpr std::string_view kStored[] = {
    "date_created", "date_updated", "name",     "lang",       "ip",          "text1u",   "text2u",
    "text1d",       "text2d",       "size1",    "size2",      "size3",       "size4",    "size5",
    "qrcolor",      "text1",        "text2",    "text3",      "text4",       "text5",    "text6",
    "text1www",     "text2www",     "text3www", "text4www",   "text5www",    "text6www", "textwww",
    "email",        "completed",    "output",   "specialsql", "specialpath",
};

// Slot 2 is "reserved" for the desk; the date of the last write is the
// natural thing to show there. Slot 31 has no counterpart and stays empty.
constexpr std::array<std::string_view, kRecordFieldCount> kLayout = {
    "id",      "date_created", "date_updated", "name",     "lang",     "ip",         "text1u",
    "text2u",  "text1d",       "text2d",       "size1",    "size2",    "size3",      "size4",
    "size5",   "qrcolor",      "text1",        "text2",    "text3",    "text4",      "text5",
    "text6",   "text1www",     "text2www",     "text3www", "text4www", "text5www",   "text6www",
    "textwww", "email",        "completed",    "",         "output",   "specialsql", "specialpath",
};

} // namespace

std::span<const std::string_view> storedKeys() {
    return kStored;
}

bool isStoredKey(std::string_view key) {
    return std::find(std::begin(kStored), std::end(kStored), key) != std::end(kStored);
}

const std::array<std::string_view, kRecordFieldCount>& recordLayout() {
    return kLayout;
}

} // namespace tpgservice
