#include "messages.h"
#include "stat_password.h"

#include <gtest/gtest.h>

namespace {

const QString kWarning = QStringLiteral(
    "Password must be at least 10 characters long and contain:\r\n- At least 1 UPPERCASE "
    "letter\r\n- At least 1 DIGIT\r\n- At least 1 SPECIAL character");

TEST(StatPasswordRule, NeedsLengthUpperDigitAndSpecial) {
    EXPECT_TRUE(checkpassword(QStringLiteral("Abcdefgh1!")));
    EXPECT_FALSE(checkpassword(QStringLiteral("abcdefgh1!"))); // upper-case letter lowered
    EXPECT_FALSE(checkpassword(QStringLiteral("ABCDEFGHIJ")));
    EXPECT_FALSE(checkpassword(QStringLiteral("Abcdefg1!")));  // nine characters
    EXPECT_FALSE(checkpassword(QStringLiteral("Abcdefghi!"))); // no digit
    EXPECT_FALSE(checkpassword(QStringLiteral("Abcdefghi1"))); // no special character
    EXPECT_FALSE(checkpassword(QString()));
    // Anything but A-Z, 0-9 and a-z is special: a blank, an accented letter.
    EXPECT_TRUE(checkpassword(QStringLiteral("Abcdefgh 1")));
    EXPECT_TRUE(checkpassword(QStringLiteral("Abcdefghá1")));
    // Accented capitals are no A-Z.
    EXPECT_FALSE(checkpassword(QStringLiteral("Ábcdefgh!1")));
    // Characters are counted as characters, not as UTF-16 halves.
    EXPECT_FALSE(checkpassword(QStringLiteral("A1😀😀😀😀😀😀😀")));
    EXPECT_TRUE(checkpassword(QStringLiteral("A1😀😀😀😀😀😀😀😀")));
}

class StatPasswordAction : public ::testing::Test {
protected:
    StatPasswordSteps steps() {
        return {[this](const QString& p) { shown = p; },
                [this] {
                    ++saves;
                    savedTextwww = profile.textwww;
                    return saveResult;
                }};
    }

    TCompanyProfile profile;
    RecordingDeskMessages messages;
    QString shown;
    int saves = 0;
    QString savedTextwww;
    bool saveResult = true;
};

TEST_F(StatPasswordAction, AsksAgainUntilTheRuleIsMetThenSavesIt) {
    messages.queueInput(QStringLiteral("short1!A"));
    messages.queueInput(QStringLiteral("Abcdefgh1!"));
    EXPECT_TRUE(LabeledEdit6Click(profile, QStringLiteral("https://svc.test"), messages, steps()));

    const auto& e = messages.entries();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].kind, RecordingDeskMessages::Kind::Input);
    EXPECT_EQ(e[0].caption, QStringLiteral("Set Password"));
    EXPECT_EQ(e[0].text, QStringLiteral("Set your private PASSWORD for your web statistic:"));
    EXPECT_EQ(e[1].text, kWarning);
    EXPECT_EQ(e[1].icon, MessageIcon::Warning);
    EXPECT_EQ(e[2].kind, RecordingDeskMessages::Kind::Input);
    EXPECT_EQ(e[3].text, QStringLiteral("Password was SAVED OK.\nYou can use your Statistic on "
                                        "your mobile address:\nhttps://svc.test/stat.php"));
    EXPECT_EQ(e[3].icon, MessageIcon::Information);

    EXPECT_EQ(shown, QStringLiteral("Abcdefgh1!"));
    EXPECT_EQ(profile.textwww, QStringLiteral("Abcdefgh1!"));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(savedTextwww, QStringLiteral("Abcdefgh1!")); // written with the new password
}

TEST_F(StatPasswordAction, CancelEndsTheActionWithoutChangingAnything) {
    profile.textwww = QStringLiteral("Previous1!");
    messages.queueInput(QStringLiteral("weak"));
    messages.queueInput(std::nullopt);
    EXPECT_FALSE(LabeledEdit6Click(profile, QStringLiteral("https://svc.test"), messages, steps()));
    EXPECT_EQ(messages.texts().size(), 3u); // ask, warning, ask
    EXPECT_EQ(messages.texts()[1], kWarning);
    EXPECT_EQ(profile.textwww, QStringLiteral("Previous1!"));
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(saves, 0);
}

} // namespace
