#include "bitmap_font.h"
#include "web_text.h"

#include <gtest/gtest.h>

namespace tpgservice {
namespace {

TEST(tpgserviceWebText, EscapesMarkupAndUrlComponents) {
    EXPECT_EQ(htmlEscape("<b class=\"x\">R&B's</b>"),
              "&lt;b class=&quot;x&quot;&gt;R&amp;B&#39;s&lt;/b&gt;");
    EXPECT_EQ(percentEncode("12 34&x=/é"), "12%2034%26x%3D%2F%C3%A9");
    EXPECT_EQ(percentEncode("A-z_0.9~"), "A-z_0.9~");
}

TEST(tpgserviceWebText, LinksCannotCarryOtherSchemesOrHeaders) {
    EXPECT_EQ(safeLink("https://menu.example/a?b=1"), "https://menu.example/a?b=1");
    EXPECT_EQ(safeLink("HTTP://menu.example"), "HTTP://menu.example");
    EXPECT_EQ(safeLink(" www.menu.example "), "https://www.menu.example");
    EXPECT_EQ(safeLink("javascript:alert(1)"), "https://javascript:alert(1)");
    EXPECT_EQ(safeLink("https://a.example\r\nSet-Cookie: x=1"), "https://a.exampleSet-Cookie: x=1");
}

TEST(tpgserviceWebText, ImageTextFoldsToTheBuiltInFont) {
    EXPECT_EQ(foldToAscii("Reštaurácia Žilina ÔÄ"), "Restauracia Zilina OA");
    EXPECT_EQ(foldToAscii("Łódź Ærø"), "Lodz Aro");
    EXPECT_EQ(foldToAscii("€ 5"), "? 5");
    EXPECT_EQ(foldToAscii(std::string("\xC3", 1)), "?"); // cut in the middle of a letter
}

} // namespace
} // namespace tpgservice
