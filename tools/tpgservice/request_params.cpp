#include "request_params.h"

#include <httplib.h>

#include <charconv>

namespace tpgservice {

namespace {

// Compares in time that does not depend on where the texts first differ.
bool sameSecret(std::string_view given, std::string_view expected) {
    unsigned char diff = given.size() == expected.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i) {
        diff |= static_cast<unsigned char>(given[i] ^ expected[i % expected.size()]);
    }
    return diff == 0;
}

std::int64_t boundedNumber(const std::string& text, const char* key, std::int64_t low,
                           std::int64_t high) {
    std::int64_t value = -1;
    bool digits = !text.empty() && text.size() <= 9 &&
                  text.find_first_not_of("0123456789") == std::string::npos;
    if (digits) std::from_chars(text.data(), text.data() + text.size(), value);
    if (!digits || value < low || value > high) {
        throw BadRequest(std::string("parameter '") + key + "' must be a number from " +
                         std::to_string(low) + " to " + std::to_string(high));
    }
    return value;
}

} // namespace

bool hasToken(const httplib::Request& req) {
    return req.has_param("token") && sameSecret(req.get_param_value("token"), kApiToken);
}

std::string companyId(const httplib::Request& req) {
    std::string id = req.get_param_value("id");
    if (id.empty()) throw BadRequest("parameter 'id' is missing");
    if (id.size() > kMaxIdLength) throw BadRequest("parameter 'id' is too long");
    for (unsigned char c : id) {
        if (c < 0x20 || c == 0x7f) throw BadRequest("parameter 'id' holds a control character");
    }
    return id;
}

std::int64_t qrNumber(const httplib::Request& req, const char* key) {
    return boundedNumber(req.get_param_value(key), key, 0, kMaxQrNumber);
}

int optionNumber(const httplib::Request& req) {
    return static_cast<int>(boundedNumber(req.get_param_value("option"), "option", 1, 6));
}

std::string textParam(const httplib::Request& req, const std::string& key) {
    std::string value = req.get_param_value(key);
    if (value.size() > kMaxTextLength) throw BadRequest("parameter '" + key + "' is too long");
    return value;
}

} // namespace tpgservice
