#include "loopback_http_server.h"
#include "web_client.h"

#include <gtest/gtest.h>

namespace {

WebClientOptions optionsFor(const LoopbackHttpServer& server) {
    WebClientOptions o;
    o.baseUrl = QString::fromStdString(server.base()) + "/";
    return o;
}

std::string ok(const std::string& body) {
    return LoopbackHttpServer::response(200, body);
}

} // namespace

TEST(DeskWebClientParams, ValuesAreFormEncodedAndDigitsStayAsTheyAre) {
    EXPECT_EQ(WebClient::encodeParams({{"id", "12345"}, {"token", "MarwenoDelsip"}}),
              "id=12345&token=MarwenoDelsip");
    EXPECT_EQ(WebClient::encodeParams({{"id", "1&qr=2 x"}}), "id=1%26qr%3D2+x");
    EXPECT_EQ(WebClient::encodeParams({{"t", QStringLiteral("Ďak+%")}}), "t=%C4%8Eak%2B%25");
    EXPECT_EQ(WebClient::encodeParams({}), "");
}

TEST(DeskWebClient, SendsTheFixedHeadersAndKeepsCookiesForTheRun) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        if (r.path == "/login")
            return LoopbackHttpServer::response(200, "in", "text/html",
                                                "Set-Cookie: session=abc; Path=/\r\n");
        return ok("body");
    });
    WebClient web(optionsFor(server));
    EXPECT_EQ(web.get("/login"), "in");
    EXPECT_EQ(web.get("/readsqlx.php", {{"id", "7"}}), "body");

    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[1].target, "/readsqlx.php?id=7");
    EXPECT_EQ(reqs[1].headers.at("accept"), "text/html, */*");
    EXPECT_EQ(reqs[1].headers.at("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
    EXPECT_EQ(reqs[1].headers.at("cookie"), "session=abc");
    EXPECT_EQ(reqs[0].headers.count("cookie"), 0u);
}

TEST(DeskWebClient, AnIdWithAmpersandOrBlanksCannotAddParameters) {
    LoopbackHttpServer server([](const HttpRequest&) { return ok(""); });
    WebClient web(optionsFor(server));
    web.get("/read_events.php", {{"id", "1 2&token=x"}});
    web.postForm("/writesql.php", {{"id", "1 2&token=x"}, {"name", QStringLiteral("Café")}});
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[0].query, "id=1+2%26token%3Dx");
    EXPECT_EQ(reqs[1].method, "POST");
    EXPECT_EQ(reqs[1].headers.at("content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(reqs[1].body, "id=1+2%26token%3Dx&name=Caf%C3%A9");
}

TEST(DeskWebClient, RedirectIsAFailureUntilFollowingIsSwitchedOn) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        if (r.path == "/old")
            return LoopbackHttpServer::response(302, "", "", "Location: /new\r\n");
        return ok("new place");
    });
    WebClient web(optionsFor(server));
    EXPECT_FALSE(web.followRedirects());
    try {
        web.get("/old");
        FAIL() << "a redirect must fail while redirects are off";
    } catch (const WebClientError& e) {
        EXPECT_NE(e.text().indexOf("302"), -1) << e.what();
    }
    web.setFollowRedirects(true);
    EXPECT_EQ(web.get("/old"), "new place");
}

TEST(DeskWebClient, ErrorStatusAndRefusedConnectionAreFailuresWithAMessage) {
    LoopbackHttpServer server(
        [](const HttpRequest&) { return LoopbackHttpServer::response(500, "oops"); });
    WebClient web(optionsFor(server));
    try {
        web.get("/x");
        FAIL();
    } catch (const WebClientError& e) {
        EXPECT_EQ(e.text(), "HTTP/1.1 500 Internal Server Error");
    }

    int closedPort = 0;
    {
        LoopbackHttpServer gone([](const HttpRequest&) { return ok(""); });
        closedPort = gone.port();
    }
    WebClientOptions o;
    o.baseUrl = QStringLiteral("http://127.0.0.1:%1").arg(closedPort);
    WebClient refused(o);
    try {
        refused.postForm("/writesql.php", {{"id", "1"}});
        FAIL();
    } catch (const WebClientError& e) {
        EXPECT_FALSE(e.text().isEmpty());
    }
}

TEST(DeskWebClient, ASilentServiceEndsInATimeoutFailure) {
    LoopbackHttpServer server([](const HttpRequest&) { return LoopbackHttpServer::kNoAnswer; });
    WebClientOptions o = optionsFor(server);
    o.requestTimeoutMs = 300;
    WebClient web(o);
    EXPECT_THROW(web.get("/read_events.php", {{"id", "1"}}), WebClientError);
}

TEST(DeskWebClient, AnswersAreDecodedByTheirCharset) {
    LoopbackHttpServer server([](const HttpRequest& r) {
        if (r.path == "/latin2")
            return LoopbackHttpServer::response(200, "\xA9\xE1", "text/plain; charset=ISO-8859-2");
        return LoopbackHttpServer::response(200, "\xC5\xA0\xC3\xA1", "text/plain");
    });
    WebClient web(optionsFor(server));
    EXPECT_EQ(web.get("/latin2"), QStringLiteral("Šá"));
    EXPECT_EQ(web.get("/utf8"), QStringLiteral("Šá"));
}

TEST(DeskWebClient, ARunawayAnswerIsCutOffAsAFailure) {
    LoopbackHttpServer server([](const HttpRequest&) {
        return LoopbackHttpServer::response(200, std::string(17 * 1024 * 1024, 'x'));
    });
    WebClient web(optionsFor(server));
    try {
        web.get("/read_events.php", {{"id", "1"}});
        FAIL();
    } catch (const WebClientError& e) {
        EXPECT_EQ(e.text(), "the answer of the web service is too large");
    }
}
