// The QR actions against a loopback HTTP peer that records every request, so
// that the number, order and parameters of the image requests are exact.
#include "browser_opener.h"
#include "loopback_http_server.h"
#include "messages.h"
#include "qr_form_actions.h"
#include "qr_numbers_dialog.h"
#include "qt_test_app.h"
#include "web_client.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <mutex>

namespace {

std::string genqr(const char* qr) {
    return std::string("/genqr.php?id=42&qr=") + qr +
           "&color=3&namesize=1&text1usize=2&text2usize=3&text1dsize=1&text2dsize=2";
}

WebClientOptions optionsFor(const QString& base) {
    WebClientOptions options;
    options.baseUrl = base;
    return options;
}

class QrFormActions : public ::testing::Test {
protected:
    void SetUp() override {
        qtTestApp();
        profile.id = QStringLiteral("42");
        profile.qrcolor = QStringLiteral("3");
        profile.size1 = QStringLiteral("1");
        profile.size2 = QStringLiteral("2");
        profile.size3 = QStringLiteral("3");
        profile.size4 = QStringLiteral("1");
        profile.size5 = QStringLiteral("2");
    }

    // The steps of the list action, each leaving a trace in `log`.
    QrListSteps steps(std::optional<QStringList> numbers, const QString& typed) {
        QrListSteps s;
        s.askNumbers = [this, numbers, typed] {
            profile.specialpath = typed;
            return numbers;
        };
        s.saveList = [this](const QString& id, const QString& list) {
            log.push_back("save list " + id + " " + list + " after " +
                          QString::number(targets().size()) + " requests");
            return false; // its failure does not stop the action
        };
        s.showList = [this](const QString& list) { log.push_back("show " + list); };
        s.saveProfile = [this] {
            log.push_back(QStringLiteral("save profile"));
            return saveResult;
        };
        s.progress = [this](const QString& text) { progressTexts.push_back(text); };
        return s;
    }

    // Answers 200, or `failStatus` to the requests whose target holds `failNeedle`.
    void failWhen(std::string needle, int status) {
        std::lock_guard lock(failMutex);
        failNeedle = std::move(needle);
        failStatus = status;
    }
    std::string answer(const HttpRequest& request) {
        std::lock_guard lock(failMutex);
        if (!failNeedle.empty() && request.target.find(failNeedle) != std::string::npos)
            return LoopbackHttpServer::response(failStatus, "failed\n", "text/plain");
        return LoopbackHttpServer::response(200, "OK\n", "text/plain");
    }
    std::vector<std::string> targets() const {
        std::vector<std::string> out;
        for (const HttpRequest& r : server.requests())
            out.push_back(r.target);
        return out;
    }
    QString base() const { return QString::fromStdString(server.base()); }

    std::mutex failMutex;
    std::string failNeedle;
    int failStatus = 0;
    LoopbackHttpServer server{[this](const HttpRequest& r) { return answer(r); }};
    WebClient web{optionsFor(base())};
    TCompanyProfile profile;
    RecordingDeskMessages messages;
    RecordingBrowserOpener browser;
    std::vector<QString> log;
    std::vector<QString> progressTexts;
    bool saveResult = true;
};

TEST_F(QrFormActions, PreviewAsksForNumberOneWithTheFormsSizesThenOpensIt) {
    const QrSizeSelectors selectors{QStringLiteral(" 1 "), QStringLiteral("2"),
                                    QStringLiteral("3 "), QStringLiteral("1"), QStringLiteral("2")};
    profile.size1 = QStringLiteral("3"); // the form's selectors win over the saved sizes
    SpeedButton1Click(profile, selectors, web, messages, browser);

    EXPECT_EQ(targets(), std::vector<std::string>{genqr("1")});
    ASSERT_EQ(browser.opened().size(), 1u);
    EXPECT_EQ(browser.opened()[0].toString(), base() + "/customers/42/qr1.png");
    EXPECT_TRUE(messages.entries().empty());
}

TEST_F(QrFormActions, FailedPreviewShowsTheErrorAndOpensNothing) {
    failWhen("/genqr.php", 500);
    SpeedButton1Click(profile, {}, web, messages, browser);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingDeskMessages::Kind::Error);
    EXPECT_FALSE(messages.entries()[0].text.isEmpty());
    EXPECT_TRUE(browser.opened().empty());
}

TEST_F(QrFormActions, ListRequestsEveryImageInTextOrderThenSavesTheProfile) {
    // The real dialog, driven as a user would.
    QrListSteps s = steps(std::nullopt, QString());
    s.askNumbers = [this] { return askqrnumbers(profile, messages); };
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setPlainText(QStringLiteral("20,3,1..2,10"));
        dialog->okButton()->click();
    });
    EXPECT_EQ(Button2Click(profile, web, messages, s), QrListOutcome::Saved);

    EXPECT_EQ(targets(), (std::vector<std::string>{genqr("1"), genqr("10"), genqr("2"), genqr("20"),
                                                   genqr("3")}));
    EXPECT_EQ(log, (std::vector<QString>{"save list 42 20,3,1..2,10 after 0 requests",
                                         "show 20,3,1..2,10", "save profile"}));
    EXPECT_EQ(progressTexts,
              (std::vector<QString>{"Generating 1 of 5", "Generating 2 of 5", "Generating 3 of 5",
                                    "Generating 4 of 5", "Generating 5 of 5", ""}));
    EXPECT_EQ(messages.texts(),
              (std::vector<QString>{"You QR codes was created you can found it here : " + base() +
                                        "/42/qrxx.png alebo použite bod.2 Generovanie A4 a PDF",
                                    "Saved OK"}));
}

TEST_F(QrFormActions, AFailedImageRequestStopsTheList) {
    failWhen("qr=2&", 503);
    const QStringList numbers{"1", "10", "2", "20", "3"};
    EXPECT_EQ(Button2Click(profile, web, messages, steps(numbers, "1,2,3,10,20")),
              QrListOutcome::RequestFailed);
    EXPECT_EQ(targets(), (std::vector<std::string>{genqr("1"), genqr("10"), genqr("2")}));
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingDeskMessages::Kind::Error);
    // The list text was written before the images; the profile is not.
    EXPECT_EQ(log, (std::vector<QString>{"save list 42 1,2,3,10,20 after 0 requests",
                                         "show 1,2,3,10,20"}));
    EXPECT_EQ(progressTexts.back(), QString()); // no stale progress left on the form
}

TEST_F(QrFormActions, CancelledDialogRequestsNothing) {
    EXPECT_EQ(Button2Click(profile, web, messages, steps(std::nullopt, "1")),
              QrListOutcome::Cancelled);
    EXPECT_EQ(messages.texts(), std::vector<QString>{"Input was canceled."});
    EXPECT_TRUE(targets().empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(QrFormActions, FailedProfileWriteWarnsAndKeepsTheFormOpen) {
    saveResult = false;
    EXPECT_EQ(Button2Click(profile, web, messages, steps(QStringList{"7"}, "7")),
              QrListOutcome::SaveFailed);
    ASSERT_EQ(messages.entries().size(), 2u);
    const auto& box = messages.entries()[1];
    EXPECT_EQ(box.kind, RecordingDeskMessages::Kind::Box);
    EXPECT_EQ(box.text, "         Pozor! Neexistuje pripojenie na internet !!   ");
    EXPECT_EQ(box.caption, "POZOR SPRÁVA");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(log.back(), "save profile");
}

TEST_F(QrFormActions, A4SheetOpensInTheBrowserWithTheCompanyId) {
    btlacClick(profile, QStringLiteral("https://svc.test"), browser);
    profile.id = QStringLiteral("a&b c/");
    btlacClick(profile, QStringLiteral("https://svc.test"), browser);
    ASSERT_EQ(browser.opened().size(), 2u);
    EXPECT_EQ(browser.opened()[0].toString(QUrl::FullyEncoded),
              "https://svc.test/gen_qr_a4_9.php?id=42");
    EXPECT_EQ(browser.opened()[1].toString(QUrl::FullyEncoded),
              "https://svc.test/gen_qr_a4_9.php?id=a%26b%20c%2F");
    EXPECT_TRUE(targets().empty()); // the browser asks, not the desk
}

} // namespace
