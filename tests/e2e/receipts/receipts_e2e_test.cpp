// Both tickets from printqr/printcall through prnfeed to the test printer,
// which draws them: the pictures and transcripts it writes are what a person
// sees of a ticket without a printer.
#include "printing/call_ticket.h"
#include "printing/qr_ticket.h"
#include "printing/script_spool.h"

#include "child_program.h"
#include "receipt_renderer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<QCoreApplication> app;

// zbarimg (Debian's zbar-tools) reads the symbol; its absence is a failure.
std::string decodeQr(const QString& png) {
    const std::string command =
        "zbarimg --quiet --raw '" + png.toStdString() + "' 2>/dev/null"; // D-Bus chatter
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return "cannot run zbarimg";
    std::string out;
    char buffer[512];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

class ReceiptsE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "receipts_e2e_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app.reset(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        receipts_ = dir_.filePath("receipts");
        const QString listening = QStringLiteral("listening: ");
        auto found = printer_.start(
            TESTPRINTER,
            {"--out", dir_.filePath("record.bin"), "--receipts", receipts_, "--port", "0"},
            {listening});
        ASSERT_EQ(found.count(listening), 1u) << printer_.error().toStdString();
        profile_.ip = found[listening];
        profile_.id = "12345";
        settings_.scriptFolder = dir_.filePath("scripts");
        settings_.sendToolPath = PRNFEED;
        settings_.serviceBase = "https://tableping.sk";
        settings_.footer = "WWW.TABLEPING.SK";
    }

    // Runs the desk's event loop (the spool's timer starts queued prints)
    // until the printer has drawn the first job.
    bool drawn() {
        const QString png = receipts_ + "/0001.png";
        QDeadlineTimer deadline(60000);
        while (!QFile::exists(png) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        return QFile::exists(png);
    }

    std::string transcript() {
        QFile f(receipts_ + "/0001.txt");
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }

    // The same bytes drawn here, to look at the paper dot by dot.
    receipt::Receipt redraw() {
        QFile f(dir_.filePath("record.bin"));
        const QByteArray job = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        receipt::ReceiptRenderer renderer;
        return renderer.render(reinterpret_cast<const uint8_t*>(job.constData()),
                               size_t(job.size()));
    }

    QTemporaryDir dir_;
    QString receipts_;
    ChildProgram printer_;
    TCompanyProfile profile_;
    TPrintSettings settings_;
};

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST_F(ReceiptsE2E, QrTicketPictureHoldsTheGuestPageAddress) {
    profile_.name = QString::fromUtf8("Café");
    profile_.text1u = "Scan me";
    profile_.text1d = "Thank you";
    printqr(profile_, "7", settings_);
    ASSERT_TRUE(drawn());

    EXPECT_EQ(decodeQr(receipts_ + "/0001.png"),
              "https://tableping.sk/options.php?id=12345&qr=7\n");
    const std::string t = transcript();
    // é went through the desk's conversion as byte 130 of code page 852.
    EXPECT_TRUE(contains(t, "[code page 18: PC852]\n")) << t;
    EXPECT_TRUE(contains(t, "\n             Café\n")) << t;
    EXPECT_TRUE(contains(t, "\n                   Scan me\n")) << t;
    EXPECT_TRUE(contains(t, "\n          QR: 7\n")) << t;
    EXPECT_TRUE(contains(t, ": https://tableping.sk/options.php?id=12345&qr=7]\n")) << t;
    // Every QR setting reaches the printer whole: none is cut short and
    // none of its values spills onto the paper as text.
    EXPECT_FALSE(contains(t, "ignored")) << t;
    // ESC i cuts; the CR LF after it feeds an empty line.
    EXPECT_TRUE(t.ends_with("\n[partial cut]\n\n")) << t;
}

TEST_F(ReceiptsE2E, CallTicketPictureHasItsLinesWhereTheDeskPutThemAndTheCut) {
    printcall(profile_, "12", QString::fromUtf8("PAY é"), settings_);
    ASSERT_TRUE(drawn());

    const std::string t = transcript();
    EXPECT_TRUE(contains(t, "\n    =====================================\nREQUEST .N. : 12\n"))
        << t;
    EXPECT_TRUE(contains(t, "\nREQUEST TIME .N. : ")) << t;
    // 8 + 45 + 7 characters: on 48 columns the option line wraps, as on paper.
    EXPECT_TRUE(contains(t, "\nOption:                     PAY é\n      N.: 12\n")) << t;
    EXPECT_TRUE(t.ends_with("\n[partial cut]\n\n")) << t;

    // The separator, centred by the desk in 45 columns: 4 blanks, 37 "=".
    const receipt::Receipt r = redraw();
    ASSERT_EQ(r.paper.width(), 576);
    bool separator = false, cut = false;
    for (int y = 0; y < r.paper.length(); ++y) {
        int left = -1, right = -1, count = 0;
        for (int x = 0; x < r.paper.width(); ++x)
            if (r.paper.at(x, y)) {
                if (left < 0) left = x;
                right = x;
                ++count;
            }
        separator = separator || (count > 300 && left >= 4 * 12 && left <= 4 * 12 + 2 &&
                                  right <= 41 * 12 - 1 && right >= 41 * 12 - 3);
        // A partial cut: dashes from the left edge, the middle left whole.
        cut = cut || (left == 0 && !r.paper.at(12, y) && !r.paper.at(288, y) && count > 200);
    }
    EXPECT_TRUE(separator);
    EXPECT_TRUE(cut);
}
