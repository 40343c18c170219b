#include "answer_text.h"
#include "charset.h"

#include <gtest/gtest.h>

TEST(DeskAnswerText, LinesEndAtCrLfLfOrCrAndDropAnEmptyLastLine) {
    EXPECT_EQ(splitAnswerLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitAnswerLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(splitAnswerLines("a\n\nb\n"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(splitAnswerLines("\r\n\r\n"), (QStringList{"", ""}));
    EXPECT_TRUE(splitAnswerLines("").isEmpty());
}

TEST(DeskAnswerText, FieldsKeepEmptiesAndBlanksAndReadQuotedTexts) {
    EXPECT_EQ(splitAnswerFields("12|1"), (QStringList{"12", "1"}));
    EXPECT_EQ(splitAnswerFields(" a ||b|"), (QStringList{" a ", "", "b", ""}));
    EXPECT_EQ(splitAnswerFields("\"x|y\"|z"), (QStringList{"x|y", "z"}));
    EXPECT_EQ(splitAnswerFields("\"say \"\"hi\"\"\"|2"), (QStringList{"say \"hi\"", "2"}));
    // A quote inside a field that does not start with one is plain text.
    EXPECT_EQ(splitAnswerFields("a\"b|c"), (QStringList{"a\"b", "c"}));
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(splitAnswerFields("\"open|end"), QStringList{"open|end"});
    EXPECT_TRUE(splitAnswerFields("").isEmpty());
}

TEST(DeskCharset, BodiesAreDecodedByTheDeclaredCharacterSet) {
    EXPECT_EQ(charsetOf("text/html; charset=\"windows-1250\""), "windows-1250");
    EXPECT_EQ(charsetOf("text/html;Charset=UTF-8;x=y"), "UTF-8");
    EXPECT_TRUE(charsetOf("text/plain").isEmpty());

    const QByteArray utf8 = QStringLiteral("Ďakujeme").toUtf8();
    EXPECT_EQ(decodeBody(utf8, "text/html"), QStringLiteral("Ďakujeme"));
    EXPECT_EQ(decodeBody(utf8, ""), QStringLiteral("Ďakujeme"));
    EXPECT_EQ(decodeBody("\xE1\xE9", "text/html; charset=ISO-8859-1"), QStringLiteral("áé"));
    // windows-1250: 0xCF is Ď, 0x9A is š (Qt's own with ICU, else the C library's).
    EXPECT_EQ(decodeBody("\xCF\x9A", "text/html; charset=windows-1250"), QStringLiteral("Ďš"));
    EXPECT_EQ(decodeBody(utf8, "text/html; charset=no-such-set"), QStringLiteral("Ďakujeme"));
    // The C library's TCVN5712-1 converter holds each letter back to see
    // whether a tone mark follows: the last one must still arrive.
    EXPECT_EQ(decodeBody("12|Pho", "text/plain; charset=TCVN5712-1"), QStringLiteral("12|Pho"));
    // A character cut off at the end of the answer is shown, not dropped,
    // whether or not UTF-8 is declared.
    EXPECT_EQ(decodeBody("12|\xD1", "text/plain; charset=utf-8"), QStringLiteral("12|\uFFFD"));
    EXPECT_EQ(decodeBody("12|\xD1", "text/plain"), QStringLiteral("12|\uFFFD"));
}
