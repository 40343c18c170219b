// The settings form's QR buttons and password field, wired as the program
// wires them, against a loopback service that records what the form sends.
#include "browser_opener.h"
#include "form_fixture.h"
#include "loopback_http_server.h"
#include "qr_form_wiring.h"
#include "qr_numbers_dialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>

namespace {

class QrFormWiring : public ::testing::Test {
protected:
    void SetUp() override {
        connectQrActions(*t.form, browser);
        t.form->profile().id = QStringLiteral("42");
        t.form->profile().qrcolor = QStringLiteral("2");
        t.ui().LabeledEdit1->setText(QStringLiteral("42"));
    }

    // "METHOD target" of every request, and the form body of the POSTs.
    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        for (const HttpRequest& r : server.requests())
            out.push_back(r.method + " " + r.target);
        return out;
    }
    QString posted(std::size_t index, const QString& key) const {
        const auto all = server.requests();
        if (index >= all.size()) return QStringLiteral("<no request>");
        QString body = QString::fromStdString(all[index].body);
        body.replace(QLatin1Char('+'), QLatin1Char(' '));
        return QUrlQuery(body).queryItemValue(key, QUrl::FullyDecoded);
    }

    // Called on the server's thread for every request, when set.
    void onRequest(std::function<void(const HttpRequest&)> hook) {
        std::lock_guard lock(hookMutex);
        requestHook = std::move(hook);
    }

    std::mutex hookMutex;
    std::function<void(const HttpRequest&)> requestHook;
    LoopbackHttpServer server{[this](const HttpRequest& r) {
        std::lock_guard lock(hookMutex);
        if (requestHook) requestHook(r);
        return LoopbackHttpServer::response(200, "OK");
    }};
    FormUnderTest t{QString::fromStdString(server.base())};
    RecordingBrowserOpener browser;
};

TEST_F(QrFormWiring, PreviewTakesTheSizesFromTheSelectorsAndAlwaysNumberOne) {
    t.ui().cqr->setText(QStringLiteral("7")); // the ticket's number, not the preview's
    t.ui().cb1->setCurrentIndex(2);
    t.ui().Cb2->setCurrentIndex(1);
    t.ui().Cb3->setCurrentIndex(0);
    t.ui().cb4->setCurrentIndex(2);
    t.ui().cb5->setCurrentIndex(1);
    const auto size = [](QComboBox* box) { return box->currentText().trimmed().toStdString(); };
    t.ui().SpeedButton1->click();

    EXPECT_EQ(requests(),
              std::vector<std::string>{
                  "GET /genqr.php?id=42&qr=1&color=2&namesize=" + size(t.ui().cb1) +
                  "&text1usize=" + size(t.ui().Cb2) + "&text2usize=" + size(t.ui().Cb3) +
                  "&text1dsize=" + size(t.ui().cb4) + "&text2dsize=" + size(t.ui().cb5)});
    ASSERT_EQ(browser.opened().size(), 1u);
    EXPECT_EQ(browser.opened()[0].toString().toStdString(),
              server.base() + "/customers/42/qr1.png");
}

TEST_F(QrFormWiring, ListIsWrittenImagesAskedAndTheProfileSaved) {
    const QString caption = t.ui().Button2->text();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setPlainText(QStringLiteral("2,10"));
        dialog->okButton()->click();
    });
    t.ui().Button2->click();

    const auto r = requests();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0], "POST /writesql.php");
    EXPECT_EQ(posted(0, "specialpath"), "2,10");
    EXPECT_EQ(r[1].rfind("GET /genqr.php?id=42&qr=10&", 0), 0u) << r[1];
    EXPECT_EQ(r[2].rfind("GET /genqr.php?id=42&qr=2&", 0), 0u) << r[2];
    EXPECT_EQ(r[3], "POST /writesql.php");
    EXPECT_EQ(posted(3, "specialpath"), "2,10"); // from "My QR codes"
    EXPECT_EQ(t.ui().LabeledEdit4->text(), "2,10");
    EXPECT_EQ(t.ui().Button2->text(), caption);
    ASSERT_EQ(t.shown().size(), 2u);
    EXPECT_EQ(t.shown()[1], "Saved OK");
}

// A long list can be cancelled with a click on the button that shows the
// progress; clicks elsewhere in the form do nothing meanwhile.
TEST_F(QrFormWiring, GeneratingImagesCanBeCancelledOnTheProgressButton) {
    t.form->show();
    QPushButton* button = t.ui().Button2;
    QPushButton* saveAll = t.ui().Button5;
    const QString caption = button->text();
    const auto click = [](QWidget* w) {
        const QPointF at(3, 3);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(w, &e);
        }
    };
    std::atomic<int> images{0};
    QStringList progress;
    onRequest([&](const HttpRequest& r) {
        // While the third image is asked for, the user clicks SAVE ALL, then
        // the progress button.
        if (r.target.rfind("/genqr.php", 0) == 0 && ++images == 3)
            QMetaObject::invokeMethod(
                button,
                [&] {
                    progress << button->text();
                    click(saveAll);
                    click(button);
                },
                Qt::QueuedConnection);
    });
    // A second number dialog would be a second generation started inside
    // the first: it is closed and counted.
    int nested = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget())) {
            ++nested;
            d->reject();
        }
    });
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setPlainText(QStringLiteral("1..50"));
        dialog->okButton()->click();
        watch.start(20);
    });
    button->click();
    watch.stop();
    EXPECT_EQ(nested, 0);

    const auto r = requests();
    ASSERT_EQ(r.size(), 4u) << "the list, three images and nothing else";
    EXPECT_EQ(r[0], "POST /writesql.php");
    EXPECT_EQ(progress, QStringList{"Generating 4 of 50"});
    EXPECT_EQ(button->text(), caption);
    EXPECT_EQ(t.shown(), std::vector<QString>{QStringLiteral(
                             "QR code generation was cancelled: 3 of 50 images were requested.")});

    // The button works as before afterwards.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QrNumbersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->setPlainText(QStringLiteral("7"));
        dialog->okButton()->click();
    });
    button->click();
    EXPECT_EQ(requests().size(), 7u);
    EXPECT_EQ(t.shown().back(), "Saved OK");
}

TEST_F(QrFormWiring, PasswordIsShownAndSavedWithTheProfile) {
    t.messages.queueInput(QStringLiteral("Abcdefgh1!"));
    t.form->LabeledEdit6Click();
    EXPECT_EQ(t.ui().LabeledEdit6->text(), "Abcdefgh1!");
    EXPECT_EQ(requests(), std::vector<std::string>{"POST /writesql.php"});
    EXPECT_EQ(posted(0, "textwww"), "Abcdefgh1!");
}

TEST_F(QrFormWiring, A4ButtonOpensTheSheet) {
    t.ui().btlac->click();
    ASSERT_EQ(browser.opened().size(), 1u);
    EXPECT_EQ(browser.opened()[0].toString().toStdString(),
              server.base() + "/gen_qr_a4_9.php?id=42");
    EXPECT_TRUE(requests().empty());
}

} // namespace
