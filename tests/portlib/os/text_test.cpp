// Narrow names in their wide form.
#include "os/os_text.h"

#include <gtest/gtest.h>

namespace {

TEST(WideNames, Utf8BecomesUtf16WithinItsRoom) {
    struct Case {
        const char* narrow;
        size_t room;
        std::u16string wide;
    };
    const Case cases[] = {
        {"ULM_LPT1:", 259, u"ULM_LPT1:"},
        {"K\xC3\xBC"
         "che",
         259, u"K\u00FCche"},
        {"\xE2\x82\xAC", 259, u"\u20AC"},
        {"\xF0\x9F\x96\xA8!", 259, u"\U0001F5A8!"},
        {"\xF0\x9F\x96\xA8!", 1, u""}, // a pair is never cut
        {"abcdef", 3, u"abc"},
        {"\xE9t\xE9", 259, u"\u00E9t\u00E9"},         // not UTF-8: bytes stand for themselves
        {"\xC0\x80", 259, u"\u00C0\u0080"},           // an overlong form is no character
        {"\xED\xA0\x80", 259, u"\u00ED\u00A0\u0080"}, // nor is a surrogate
        {"\xE2\x82", 259, u"\u00E2\u0082"},           // cut short at the end
        {"", 259, u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(os::toUtf16(c.narrow, c.room), c.wide) << c.narrow;
    EXPECT_EQ(os::toUtf16(nullptr, 10), u"");
}

} // namespace
