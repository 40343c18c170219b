#pragma once
// The profile answer of "/readsqlx.php": one line of fields separated by "|".

#include <map>
#include <string>
#include <string_view>

namespace tpgservice {

// A field is written as it is unless it holds "|", a double quote or a line
// break; then it is quoted, with every double quote inside doubled, so that
// the desk's field splitter reads it back whole.
std::string recordField(std::string_view value);

// The whole record for a stored profile, fields in the desk's order, ending
// with a line break.
std::string recordLine(const std::string& id, const std::map<std::string, std::string>& profile);

} // namespace tpgservice
