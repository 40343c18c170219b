#pragma once
// Reading what a request carries. Everything from the network is untrusted:
// lengths are bounded and numbers checked before anything else sees them.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace httplib {
struct Request;
}

namespace tpgservice {

inline constexpr std::string_view kApiToken = "MarwenoDelsip";
inline constexpr std::size_t kMaxIdLength = 64;
inline constexpr std::size_t kMaxTextLength = 1000;
inline constexpr std::int64_t kMaxQrNumber = 999999;

// A request the service will not serve; the text tells the caller why.
class BadRequest : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool hasToken(const httplib::Request& req);

// The company ID: present, 1..kMaxIdLength bytes, no control characters.
std::string companyId(const httplib::Request& req);
// A QR (table) number 0..kMaxQrNumber in plain decimal digits.
std::int64_t qrNumber(const httplib::Request& req, const char* key = "qr");
// An option number 1..6.
int optionNumber(const httplib::Request& req);
// Any other text value, at most kMaxTextLength bytes; empty when absent.
std::string textParam(const httplib::Request& req, const std::string& key);

} // namespace tpgservice
