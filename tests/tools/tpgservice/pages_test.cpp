// The pages people see: guest page, confirmation, A4 sheet.

#include "service_fixture.h"

namespace tpgservice::test {
namespace {

using tpgservicePages = ServiceTest;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

TEST_F(tpgservicePages, GuestPageShowsTheOfferedOptionsEscaped) {
    writeProfile("12345", {{"name", "<script>alert(1)</script> & Co"},
                           {"text1", "Call the waiter"},
                           {"text3", "Pay by <card>"},
                           {"text4", "Menu"},
                           {"text4www", "menu.example/\"onmouseover=\"x"},
                           {"text5", "Review"}});
    auto res = get("/options.php?id=12345&qr=12");
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200);
    const std::string& page = res->body;
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; Co"), std::string::npos);
    EXPECT_EQ(count(page, "class=\"option"), 4u) << "options 2 and 6 have no text";
    EXPECT_NE(page.find("href=\"/options.php?id=12345&amp;qr=12&amp;option=1\""),
              std::string::npos);
    EXPECT_NE(page.find("Pay by &lt;card&gt;"), std::string::npos);
    EXPECT_NE(page.find("href=\"https://menu.example/&quot;onmouseover=&quot;x\""),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("option=5"), std::string::npos) << "option 5 without a link records a call";
    EXPECT_NE(page.find("name=\"viewport\""), std::string::npos);
    EXPECT_EQ(page.find("src=\"http"), std::string::npos) << "no external assets";
}

TEST_F(tpgservicePages, LinkOptionsGoToTheLinkWithoutACall) {
    writeProfile(
        "12345",
        {{"name", "Pizza"}, {"text4", "Menu"}, {"text4www", "https://menu.example/pizza"}});
    auto res = get("/options.php?id=12345&qr=2&option=4");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 302);
    EXPECT_EQ(res->get_header_value("Location"), "https://menu.example/pizza");
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "");
}

TEST_F(tpgservicePages, ConfirmationNamesTheRequest) {
    writeProfile("12345", {{"name", "Pizza"}, {"text2", "Pay cash"}});
    auto res = get("/options.php?id=12345&qr=12&option=2");
    ASSERT_EQ(res->status, 200);
    EXPECT_NE(res->body.find("Pay cash"), std::string::npos);
    EXPECT_NE(res->body.find("Table 12"), std::string::npos);
}

TEST_F(tpgservicePages, BadGuestAddressesGetAPageNotACrash) {
    EXPECT_EQ(get("/options.php?id=12345")->status, 400);
    EXPECT_EQ(get("/options.php?qr=1")->status, 400);
    auto res = get("/options.php?id=nobody&qr=1");
    EXPECT_EQ(res->status, 404);
    EXPECT_NE(res->get_header_value("Content-Type").find("text/html"), std::string::npos);
}

TEST_F(tpgservicePages, A4SheetHasNineCodesToAPage) {
    writeProfile("12345", {{"name", "Pizza"}, {"specialpath", "1,3,5..8,10,20..22"}});
    auto res = get("/gen_qr_a4_9.php?id=12345");
    ASSERT_EQ(res->status, 200);
    const std::string& page = res->body;
    EXPECT_EQ(count(page, "<section class=\"sheet\">"), 2u);
    EXPECT_EQ(count(page, "<img "), 10u);
    EXPECT_NE(page.find("size:A4"), std::string::npos);
    EXPECT_LT(page.find("/customers/12345/qr10.png"), page.find("/customers/12345/qr20.png"));
    // A code on the sheet that was never generated is drawn when it is fetched.
    auto image = get("/customers/12345/qr22.png");
    ASSERT_EQ(image->status, 200);
    EXPECT_EQ(image->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(image->body.substr(1, 3), "PNG");
    EXPECT_EQ(get("/gen_qr_a4_9.php?id=nobody")->status, 404);
}

TEST_F(tpgservicePages, A4SheetFallsBackToTheGeneratedCodes) {
    writeProfile("12345", {{"name", "Pizza"}, {"specialpath", "not a list"}});
    ASSERT_EQ(get("/genqr.php?id=12345&qr=4")->status, 200);
    ASSERT_EQ(get("/genqr.php?id=12345&qr=2")->status, 200);
    auto page = get("/gen_qr_a4_9.php?id=12345")->body;
    EXPECT_EQ(count(page, "<img "), 2u);
    EXPECT_LT(page.find("qr2.png"), page.find("qr4.png"));
}

} // namespace
} // namespace tpgservice::test
