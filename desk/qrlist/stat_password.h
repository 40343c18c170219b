// The password that guards the company's statistics page on the web service.
#pragma once

#include "company_profile.h"

#include <QString>

#include <functional>

class DeskMessages;

// At least 10 characters, with an upper-case letter A-Z, a digit 0-9 and a
// special character: anything that is not A-Z, 0-9 or a-z, so blanks,
// punctuation and accented letters count. Characters are counted as the user
// sees them (a letter outside the basic plane is one character).
bool checkpassword(const QString& password);

struct StatPasswordSteps {
    // Shows the accepted password in the field LabeledEdit6.
    std::function<void(const QString& password)> showPassword;
    // Writes the whole profile (registrujdodatabazy); shows its own message on
    // failure.
    std::function<bool()> saveProfile;
};

// "STAT PASSWORD": asks until a valid password is typed or the user cancels,
// then keeps it in the profile's textwww and writes the profile. Returns
// whether a password was taken.
bool LabeledEdit6Click(TCompanyProfile& profile, const QString& base, DeskMessages& messages,
                       const StatPasswordSteps& steps);
