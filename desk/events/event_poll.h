// One poll of the service loop: fetch the pending guest calls and alert
// and/or print each of them as the profile's output mode says.
#pragma once

#include "company_profile.h"
#include "event_list.h"

#include <QString>

#include <functional>

// What the output mode ("1", "2", "3"; anything else: neither) asks for.
struct OutputMode {
    bool alert = false;
    bool ticket = false;
    // Whether a call can be delivered at all.
    bool delivers() const { return alert || ticket; }
};
OutputMode outputmode(const QString& output);

// The profile's text of option "1" to "6"; "?" and the number for any other,
// so that a call is never shown with another call's text.
QString optiontext(const TCompanyProfile& profile, const QString& option);

// The alert box's text: prefix, QR number, six blanks, option text.
QString alerttext(const TCompanyProfile& profile, const QString& qrNumber,
                  const QString& optionText);

struct PollSteps {
    // Reads the profile again, for a poll that finds no output mode.
    std::function<void()> reread;
    // Fills the list with the pending events; false when there are none.
    std::function<bool(TEventList& eventlist)> fetch;
    // The modal alert box (text, caption); returns once it is closed.
    std::function<void(const QString& text, const QString& caption)> alert;
    // Prints the guest-call ticket; throws on failure.
    std::function<void(const QString& qrNumber, const QString& optionText)> ticket;
    // The standard error message box, for a ticket that could not be printed.
    std::function<void(const QString& message)> error;
};

// Empties the list, fetches, handles every event in order and empties the
// list again. A ticket that fails is reported through `error` and the events
// after it are still handled, so no call the service handed out is lost.
// The service hands each call out once, so calls are fetched only while the
// output mode can deliver them; without one (the profile could not be read,
// or names no mode) the poll reads the profile again instead.
void pollevents(const TCompanyProfile& profile, TEventList& eventlist, const PollSteps& steps);
