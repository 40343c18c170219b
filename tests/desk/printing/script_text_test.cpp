// Centring, quoting and the code-page conversion of single lines.
#include "printing/center_text.h"
#include "printing/code_page_852.h"
#include "printing/script_converter.h"
#include "printing/script_text.h"

#include <gtest/gtest.h>

namespace {
QString blanks(int n) {
    return QString(n, u' ');
}
} // namespace

TEST(PrintingCenterText, PadsCutsAndFillsEmpty) {
    EXPECT_EQ(centertext("ABC", 8), "  ABC   "); // odd blank to the right
    EXPECT_EQ(centertext("ABCD", 8), "  ABCD  ");
    EXPECT_EQ(centertext(QString(50, u'x'), 45), QString(45, u'x'));
    EXPECT_EQ(centertext("", 45), blanks(45));
    EXPECT_EQ(centertext("exactly8", 8), "exactly8");
    EXPECT_EQ(centertext("anything", 0), "");
}

TEST(PrintingScriptText, EscapesWhatWouldBreakTheString) {
    EXPECT_EQ(scripttext(R"(Bar "U Jána" \ 1)"), R"(Bar \"U Jána\" \\ 1)");
    // Each escape stands for one byte on the printer.
    EXPECT_EQ(scripttextbytes(R"(a"b\c)"), 5);
}

// A service text must not command the printer: every control character, a
// line break, a tab or ESC as much as NUL, prints as "?".
TEST(PrintingScriptText, ControlCharactersBecomeQuestionMarks) {
    EXPECT_EQ(scripttext("12\x1Bi"), "12?i");
    EXPECT_EQ(scripttext("a\r\nb"), "a??b");
    EXPECT_EQ(scripttext(QString("a") + QChar(u'\0') + "b"), "a?b");
    EXPECT_EQ(scripttext("tab\there"), "tab?here");
    EXPECT_EQ(scripttext(QString("\x1D"
                                 "V") +
                         QChar(0x7F) + QChar(0x1F)),
              "?V??");
    EXPECT_EQ(scripttextbytes("12\x1Bi"), 4);
}

TEST(PrintingScriptText, ComposesDecomposedLetters) {
    const QString decomposed = QString("Cafe") + QChar(0x0301); // e + combining acute
    EXPECT_EQ(scripttext(decomposed), QString("Caf") + QChar(0x00E9));
    EXPECT_EQ(scripttextbytes(decomposed), 4);
    EXPECT_EQ(scripttextbytes(QString::fromUcs4(U"a\U0001F600b")), 3); // one byte for the emoji
}

TEST(PrintingCodePage852, SlovakLettersHaveTheirPositions) {
    const std::pair<char32_t, int> table[] = {
        {U'é', 130}, {U'ä', 132}, {U'č', 159}, {U'ô', 147}, {U'ž', 167}, {U'š', 231},
        {U'ť', 156}, {U'í', 161}, {U'ú', 163}, {U'á', 160}, {U'Č', 172}, {U'Á', 181},
        {U'Ť', 155}, {U'Ď', 210}, {U'Š', 230}, {U'É', 144}, {U'Ľ', 149}, {U'Ĺ', 145},
        {U'ĺ', 146}, {U'ľ', 150}, {U'Ú', 233}, {U'Ž', 166}, {U'ý', 236}, {U'Ý', 237},
        {U'ň', 229}, {U'Ň', 213}, {U'ď', 212}, {U'ó', 162}, {U'Ó', 224},
    };
    for (const auto& [letter, code] : table)
        EXPECT_EQ(codepage852(letter), code) << static_cast<unsigned>(letter);
    EXPECT_EQ(codepage852(U'A'), 65);
    EXPECT_EQ(codepage852(U'€'), -1);
    EXPECT_EQ(codepage852(U'ж'), -1);
}

TEST(PrintingConvertLine, LettersBecomeTokens) {
    EXPECT_EQ(convertscriptline(R"("Café" CR LF)"), R"("Caf"130"" CR LF)");
    EXPECT_EQ(convertscriptline("\"ééé\""), R"(""130""130""130"")");
    // Letters outside the Slovak set that code page 852 holds.
    EXPECT_EQ(convertscriptline("\"öüŕÔ\""), R"(""148""129""234""226"")");
    EXPECT_EQ(convertscriptline("\"łąęőű\""), R"(""136""165""169""139""251"")");
    // What the code page lacks prints as a question mark.
    EXPECT_EQ(convertscriptline("\"жx€\""), R"(""63"x"63"")");
    EXPECT_EQ(convertscriptline(QString::fromUcs4(U"\"\U0001F600\"")), R"(""63"")");
    EXPECT_EQ(convertscriptline("ESC d 0 CR LF"), "ESC d 0 CR LF");
}
