#include "messages.h"
#include "qr_list_parser.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    QStringList numbers;
    std::vector<QString> messages;
};

Parsed parse(const QString& text, QStringList before = {QStringLiteral("old")}) {
    RecordingDeskMessages messages;
    const bool ok = parseqrlist(text, before, messages);
    return {ok, before, messages.texts()};
}

QStringList list(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items)
        out.append(QString::fromUtf8(item));
    return out;
}

TEST(QrListParser, ItemsAndRangesGiveUniqueNumbersSortedAsText) {
    const Parsed p = parse(QStringLiteral("1,3,5..8,10"));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.numbers, list({"1", "10", "3", "5", "6", "7", "8"}));
    EXPECT_TRUE(p.messages.empty());

    EXPECT_EQ(parse(QStringLiteral("5..5")).numbers, list({"5"}));
    EXPECT_EQ(parse(QStringLiteral("3,1..4")).numbers, list({"1", "2", "3", "4"}));
    EXPECT_EQ(parse(QStringLiteral("1, 2 ,  3")).numbers, list({"1", "2", "3"}));
    EXPECT_EQ(parse(QStringLiteral(" 2 ..  4 ")).numbers, list({"2", "3", "4"}));
    // Numbers keep their decimal form, whatever was typed.
    EXPECT_EQ(parse(QStringLiteral("007,+5,-0")).numbers, list({"0", "5", "7"}));
}

TEST(QrListParser, SignedNumbersAndRangesAcrossZero) {
    const Parsed p = parse(QStringLiteral("-2..1"));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.numbers, list({"-1", "-2", "0", "1"}));
}

TEST(QrListParser, EmptyTextIsAnEmptyList) {
    const Parsed p = parse(QString());
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.numbers.isEmpty());
    EXPECT_TRUE(p.messages.empty());
}

// Blanks and line breaks alone are one item, and it is empty.
TEST(QrListParser, OnlyBlanksOrLineBreaksAreAnEmptyItem) {
    for (const QString& text :
         {QStringLiteral("\n"), QStringLiteral("  "), QStringLiteral(" \r\n\t")}) {
        const Parsed p = parse(text);
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.messages,
                  std::vector<QString>{QStringLiteral("Chyba: prázdna hodnota medzi čiarkami.")});
    }
}

TEST(QrListParser, EachBadItemHasItsOwnMessageAndLeavesTheResultAlone) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"1,,2", "Chyba: prázdna hodnota medzi čiarkami."},
        {",1", "Chyba: prázdna hodnota medzi čiarkami."},
        {"1,", "Chyba: prázdna hodnota medzi čiarkami."},
        {"1, ,2", "Chyba: prázdna hodnota medzi čiarkami."},
        {"1,x2", "Neplatné číslo: \"x2\""},
        {"1 2", "Neplatné číslo: \"1 2\""},
        {"0x10", "Neplatné číslo: \"0x10\""},
        {"99999999999", "Neplatné číslo: \"99999999999\""},
        {"1...3", "Chybný rozsah: \"1...3\""},
        {"a..3", "Chybný rozsah: \"a..3\""},
        {"1..", "Chybný rozsah: \"1..\""},
        {"8..5", "Nesprávny rozsah: \"8..5\" (od > do)"},
        {" 1 .. -1 ", "Nesprávny rozsah: \"1 .. -1\" (od > do)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed p = parse(QString::fromUtf8(c.text));
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.numbers, list({"old"}));
        ASSERT_EQ(p.messages.size(), 1u);
        EXPECT_EQ(p.messages[0], QString::fromUtf8(c.message));
    }
}

TEST(QrListParser, StopsAtTheFirstBadItem) {
    const Parsed p = parse(QStringLiteral("1..3,x,,9..1"));
    EXPECT_FALSE(p.ok);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0], QStringLiteral("Neplatné číslo: \"x\""));
}

TEST(QrListParser, QuotedItemsLoseTheirQuotes) {
    EXPECT_EQ(parse(QStringLiteral("\"5..7\",1")).numbers, list({"1", "5", "6", "7"}));
    // A comma inside quotes belongs to the item, which is then no number.
    const Parsed p = parse(QStringLiteral("\"1,2\",3"));
    EXPECT_FALSE(p.ok);
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(p.messages[0], QStringLiteral("Neplatné číslo: \"1,2\""));
}

TEST(QrListParser, ListsAreCappedSoATypoCannotFloodTheService) {
    const Parsed atCap = parse(QStringLiteral("1..10000"));
    EXPECT_TRUE(atCap.ok);
    EXPECT_EQ(atCap.numbers.size(), kMaxQrNumbersPerList);

    // A huge range is refused before it is walked.
    const Parsed huge = parse(QStringLiteral("1..2000000000"));
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.numbers, list({"old"}));
    ASSERT_EQ(huge.messages.size(), 1u);
    EXPECT_EQ(huge.messages[0],
              QStringLiteral("Príliš veľa čísel: \"1..2000000000\" (najviac 10000 QR kódov v "
                             "jednom zozname)"));

    // The cap counts the whole list, duplicates once.
    EXPECT_TRUE(parse(QStringLiteral("1..10000,5000..10000")).ok);
    const Parsed over = parse(QStringLiteral("1..5000,5001..10000,10001"));
    EXPECT_FALSE(over.ok);
    ASSERT_EQ(over.messages.size(), 1u);
    EXPECT_TRUE(over.messages[0].contains(QStringLiteral("\"10001\"")));

    const Parsed wide = parse(QStringLiteral("-2147483648..2147483647"));
    EXPECT_FALSE(wide.ok);
}

} // namespace
