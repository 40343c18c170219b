// The desk's message boxes on screen (offscreen): texts from the service are
// shown as written, and a box's own caption is its title even when empty.
#include "messages.h"
#include "qt_test_app.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct ShownBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QString labelText;
    bool found = false;
};

// Runs `show`, and once its modal box is up notes what it shows and closes it.
ShownBox shown(const std::function<void()>& show) {
    ShownBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.found = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            seen.labelText = label->text();
        box->accept();
    });
    show();
    return seen;
}

} // namespace

TEST(DeskMessageBoxes, TextsAreShownAsPlainTextAndCaptionsAsGiven) {
    qtTestApp();
    QtDeskMessages messages;
    // An option text with markup and an entity, and the alert's six blanks.
    const QString alert =
        QStringLiteral("Alert ! You have new Message from QR number: 12      <b>PAY</b> &lt;now");

    ShownBox box = shown([&] { messages.messageBox(alert, QString(), MessageIcon::Warning); });
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.title, QString());
    EXPECT_EQ(box.format, Qt::PlainText);
    EXPECT_EQ(box.text, alert);
    EXPECT_EQ(box.labelText, alert);

    box = shown(
        [&] { messages.messageBox(alert, "! Message from TPG system !", MessageIcon::Warning); });
    EXPECT_EQ(box.title, "! Message from TPG system !");
    EXPECT_EQ(box.format, Qt::PlainText);

    // Plain messages and errors are titled with the application's name.
    box = shown([&] { messages.showMessage("<i>Saved OK</i>"); });
    EXPECT_EQ(box.title, QApplication::applicationName());
    EXPECT_EQ(box.format, Qt::PlainText);
    box = shown([&] { messages.showError("<u>no connection</u>"); });
    EXPECT_EQ(box.title, QApplication::applicationName());
    EXPECT_EQ(box.format, Qt::PlainText);
}
