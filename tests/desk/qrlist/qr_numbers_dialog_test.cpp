#include "messages.h"
#include "qr_numbers_dialog.h"
#include "qt_test_app.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class QrNumbersDialogTest : public ::testing::Test {
protected:
    void SetUp() override { qtTestApp(); }

    TCompanyProfile profile;
    RecordingDeskMessages messages;
};

TEST_F(QrNumbersDialogTest, ElementsSitWhereUsersKnowThem) {
    profile.specialpath = QStringLiteral("1,3,5..8,10");
    QrNumbersDialog dialog(profile, messages);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Input your QR numbers"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.size(), QSize(400, 300));
    EXPECT_EQ(dialog.textBox()->toPlainText(), QStringLiteral("1,3,5..8,10"));
    EXPECT_EQ(dialog.textBox()->geometry(), QRect(0, 0, 400, 150));
    EXPECT_EQ(dialog.textBox()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(dialog.textBox()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    const QLabel* label = dialog.findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Put your QR number (exp. 1,3,5..8,10):"));
    EXPECT_EQ(label->pos(), QPoint(10, 155));

    const struct {
        QPushButton* button;
        const char* caption;
        int left;
    } buttons[] = {{dialog.okButton(), "OK", 40},
                   {dialog.checkButton(), "Check - validate", 150},
                   {dialog.closeButton(), "Close", 260}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(b.button->pos(), QPoint(b.left, 180));
        EXPECT_EQ(b.button->width(), 100);
    }
}

TEST_F(QrNumbersDialogTest, OkAcceptsAValidListAndRemembersTheText) {
    QrNumbersDialog dialog(profile, messages);
    EXPECT_TRUE(dialog.textBox()->toPlainText().isEmpty());
    dialog.textBox()->setPlainText(QStringLiteral("10,2, 3..4"));
    dialog.BtnOKZadajStolyClick();
    EXPECT_TRUE(dialog.inputAccepted());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.numbers(), QStringList({"10", "2", "3", "4"}));
    EXPECT_EQ(profile.specialpath, QStringLiteral("10,2, 3..4"));
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(QrNumbersDialogTest, OkOnABadListExplainsAndStaysOpenButKeepsTheText) {
    QrNumbersDialog dialog(profile, messages);
    dialog.show();
    dialog.textBox()->setPlainText(QStringLiteral("8..5"));
    dialog.BtnOKZadajStolyClick();
    EXPECT_FALSE(dialog.inputAccepted());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(profile.specialpath, QStringLiteral("8..5"));
    EXPECT_EQ(messages.texts(),
              (std::vector<QString>{QStringLiteral("Nesprávny rozsah: \"8..5\" (od > do)"),
                                    QStringLiteral("Invalid input! Please check the format "
                                                   "(e.g. 1,3,5..8)")}));
}

TEST_F(QrNumbersDialogTest, CheckCountsTheNumbersWithoutClosingOrStoring) {
    profile.specialpath = QStringLiteral("kept");
    QrNumbersDialog dialog(profile, messages);
    dialog.show();
    dialog.textBox()->setPlainText(QStringLiteral("1,3,5..8,10"));
    dialog.BtnSkontrolujClick();
    dialog.textBox()->setPlainText(QStringLiteral("1,,2"));
    dialog.BtnSkontrolujClick();
    dialog.textBox()->setPlainText(QString());
    dialog.BtnSkontrolujClick();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.inputAccepted());
    EXPECT_EQ(profile.specialpath, QStringLiteral("kept"));
    EXPECT_EQ(messages.texts(),
              (std::vector<QString>{QStringLiteral("Input is correct. Numbers of QR codes: 7"),
                                    QStringLiteral("Chyba: prázdna hodnota medzi čiarkami."),
                                    QStringLiteral("Input is correct. Numbers of QR codes: 0")}));
}

// Runs `step` once the dialog is up in its own modal loop.
void whenModal(std::function<void(QrNumbersDialog&)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        auto* dialog = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
    });
}

TEST_F(QrNumbersDialogTest, AskReturnsTheListOnlyAfterOk) {
    whenModal([](QrNumbersDialog& d) {
        d.textBox()->setPlainText(QStringLiteral("x"));
        d.okButton()->click(); // refused, still open
        d.textBox()->setPlainText(QStringLiteral("2,1"));
        d.okButton()->click();
    });
    const std::optional<QStringList> numbers = askqrnumbers(profile, messages);
    ASSERT_TRUE(numbers.has_value());
    EXPECT_EQ(*numbers, QStringList({"1", "2"}));
    EXPECT_EQ(messages.texts().size(), 2u);

    whenModal([](QrNumbersDialog& d) {
        d.textBox()->setPlainText(QStringLiteral("5"));
        d.closeButton()->click();
    });
    EXPECT_FALSE(askqrnumbers(profile, messages).has_value());
    EXPECT_EQ(profile.specialpath, QStringLiteral("2,1")); // Close stores nothing

    whenModal([](QrNumbersDialog& d) { d.reject(); }); // Escape or the window's close box
    EXPECT_FALSE(askqrnumbers(profile, messages).has_value());
}

} // namespace
