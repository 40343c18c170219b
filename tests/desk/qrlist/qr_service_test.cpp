// The QR actions against the stand-in web service: the images it is asked for
// are the ones it then has, and the addresses handed to the browser lead to
// the image and the A4 sheet.
#include "browser_opener.h"
#include "messages.h"
#include "profile_service.h"
#include "qr_form_actions.h"
#include "qt_test_app.h"
#include "tpgservice_process.h"
#include "web_client.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kId = QStringLiteral("4711");

class QrActionsOnService : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qtTestApp();
        service = std::make_unique<TpgserviceProcess>(QStringLiteral(TPGSERVICE_PROGRAM));
    }
    static void TearDownTestSuite() { service.reset(); }

    void SetUp() override {
        ASSERT_TRUE(service->running()) << service->error().toStdString();
        web = std::make_unique<WebClient>(service->clientOptions());
        registerCompany(kId);
    }

    // A registered company with no QR list stored: the A4 sheet then shows
    // every image the service has made for it. Each test that counts images
    // uses a company of its own.
    void registerCompany(const QString& id) {
        companyId = id;
        writeProfileParams(*web, {{"id", companyId},
                                  {"token", kApiToken},
                                  {"name", "Bistro"},
                                  {"text1", "Call"},
                                  {"text2", "Pay"},
                                  {"specialpath", ""}});
        profile.id = companyId;
        profile.qrcolor = "2";
        profile.size1 = profile.size2 = profile.size3 = profile.size4 = profile.size5 = "1";
    }

    QrListSteps steps(QStringList numbers) {
        QrListSteps s;
        s.askNumbers = [numbers] { return std::optional<QStringList>(numbers); };
        s.saveList = [](const QString&, const QString&) { return true; };
        s.showList = [](const QString&) {};
        s.saveProfile = [] { return true; };
        return s;
    }

    // The numbers on the service's A4 sheet, as its captions show them.
    QString sheet() { return web->get("/gen_qr_a4_9.php", {{"id", companyId}}); }

    static std::unique_ptr<TpgserviceProcess> service;
    std::unique_ptr<WebClient> web;
    QString companyId;
    TCompanyProfile profile;
    RecordingDeskMessages messages;
    RecordingBrowserOpener browser;
};

std::unique_ptr<TpgserviceProcess> QrActionsOnService::service;

TEST_F(QrActionsOnService, FiveNumbersMakeFiveImages) {
    registerCompany(kId + "5");
    EXPECT_EQ(Button2Click(profile, *web, messages, steps({"1", "10", "2", "20", "3"})),
              QrListOutcome::Saved);
    ASSERT_EQ(messages.texts().size(), 2u) << messages.texts()[0].toStdString();
    EXPECT_EQ(messages.texts()[1], "Saved OK");

    const QString page = sheet();
    EXPECT_TRUE(page.contains("5 QR codes")) << page.toStdString();
    for (const char* n : {"1", "2", "3", "10", "20"})
        EXPECT_TRUE(page.contains(QString("alt=\"QR %1\"").arg(n))) << n;
}

TEST_F(QrActionsOnService, ANumberTheServiceRefusesStopsTheRest) {
    registerCompany(kId + "x");
    // Sorted as text the refused number comes second: 2 is never asked for.
    EXPECT_EQ(Button2Click(profile, *web, messages, steps({"1", "1000000", "2"})),
              QrListOutcome::RequestFailed);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingDeskMessages::Kind::Error);

    const QString page = sheet();
    EXPECT_TRUE(page.contains("1 QR codes")) << page.toStdString();
    EXPECT_TRUE(page.contains("alt=\"QR 1\""));
}

TEST_F(QrActionsOnService, BrowserAddressesLeadToTheImageAndTheSheet) {
    SpeedButton1Click(profile, {"3", "3", "3", "3", "3"}, *web, messages, browser);
    btlacClick(profile, web->baseUrl(), browser);
    EXPECT_TRUE(messages.entries().empty());
    ASSERT_EQ(browser.opened().size(), 2u);

    const QUrl image = browser.opened()[0];
    EXPECT_EQ(image.toString(), service->base() + "/customers/" + kId + "/qr1.png");
    EXPECT_TRUE(web->get(image.path()).contains("PNG"));

    const QUrl a4 = browser.opened()[1];
    EXPECT_EQ(a4.toString(), service->base() + "/gen_qr_a4_9.php?id=" + kId);
    EXPECT_TRUE(web->get(a4.path(), {{"id", a4.query().section('=', 1)}}).contains("QR 1"));
}

} // namespace
