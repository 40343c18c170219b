#include "stat_password.h"

#include "messages.h"
#include "qr_image_request.h"

bool checkpassword(const QString& password) {
    const QList<uint> characters = password.toUcs4();
    bool upper = false, digit = false, special = false;
    for (uint c : characters) {
        if (c >= 'A' && c <= 'Z')
            upper = true;
        else if (c >= '0' && c <= '9')
            digit = true;
        else if (c < 'a' || c > 'z')
            special = true;
    }
    return characters.size() >= 10 && upper && digit && special;
}

bool LabeledEdit6Click(TCompanyProfile& profile, const QString& base, DeskMessages& messages,
                       const StatPasswordSteps& steps) {
    for (;;) {
        const std::optional<QString> password = messages.inputBox(
            QStringLiteral("Set Password"),
            QStringLiteral("Set your private PASSWORD for your web statistic:"), QString());
        // Cancel is the user's way out; the box would otherwise come back until
        // a valid password is typed.
        if (!password) return false;
        if (checkpassword(*password)) {
            steps.showPassword(*password);
            messages.messageBox(
                QStringLiteral("Password was SAVED OK.\n"
                               "You can use your Statistic on your mobile address:\n") +
                    statisticsAddress(base),
                QStringLiteral("Information"), MessageIcon::Information);
            profile.textwww = *password;
            steps.saveProfile();
            return true;
        }
        messages.messageBox(
            QStringLiteral("Password must be at least 10 characters long and "
                           "contain:\r\n- At least 1 UPPERCASE letter\r\n- At least "
                           "1 DIGIT\r\n- At least 1 SPECIAL character"),
            QStringLiteral("Warning"), MessageIcon::Warning);
    }
}
