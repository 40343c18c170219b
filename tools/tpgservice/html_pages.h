#pragma once
// The pages the service shows to people: the guest page a phone opens after
// scanning, its confirmation, the A4 sheet of codes and the statistics.
// Every text that came from outside is escaped here.

#include "storage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tpgservice {

// The option buttons of the guest page: "Call the waiter" etc. A button with
// a link opens it; the others record a call.
std::string guestPage(const std::string& id, std::int64_t qr, const Profile& profile);
std::string confirmationPage(const std::string& id, std::int64_t qr, const Profile& profile,
                             int option);
// A short page for errors and refusals.
std::string messagePage(const std::string& title, const std::string& text);

// Nine codes to an A4 page, laid out for printing.
std::string a4SheetPage(const std::string& id, const Profile& profile,
                        const std::vector<std::int64_t>& numbers);

std::string statLoginPage(const std::string& id, const std::string& problem);
std::string statPage(const std::string& id, const Profile& profile,
                     const std::vector<EventCount>& counts);

// Where the image of one code is served, relative to the service root.
std::string imagePath(const std::string& id, std::int64_t qr);
// The guest page address for a code, relative to the service root.
std::string guestPath(const std::string& id, std::int64_t qr);

} // namespace tpgservice
