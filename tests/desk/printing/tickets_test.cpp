// Both tickets line by line, as written into the raw script.
#include "printing/call_ticket.h"
#include "printing/print_error.h"
#include "printing/qr_ticket.h"
#include "printing/script_converter.h"

#include <gtest/gtest.h>

namespace {
QString blanks(int n) {
    return QString(n, u' ');
}

TPrintSettings settings() {
    TPrintSettings s;
    s.serviceBase = "https://tableping.sk"; // 20 characters
    s.footer = "WWW.TABLEPING.SK";
    return s;
}

TCompanyProfile profile() {
    TCompanyProfile p;
    p.id = "12345";
    p.name = "Bistro";
    p.text1u = "Scan me";
    p.text2u = "";
    p.text1d = "Thank you";
    p.text2d = "Call us";
    return p;
}

void expectlines(const QStringList& actual, const QStringList& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}
} // namespace

TEST(PrintingQrTicket, WholeScript) {
    const QString footer = blanks(14) + "WWW.TABLEPING.SK" + blanks(15);
    expectlines(qrticket(profile(), "7", settings()),
                {
                    "ESC t 18 CR LF ",
                    "ESC ! 0 CR",
                    "ESC ! 48 CR",
                    "\"" + blanks(12) + "Bistro" + blanks(12) + "\" CR LF",
                    "ESC d 0 CR LF",
                    "ESC E CR",
                    "ESC ! 0 CR",
                    "\"" + blanks(19) + "Scan me" + blanks(19) + "\" CR LF",
                    "\"" + blanks(45) + "\" CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "GS \"(k\"  4 0 49 65 50 0 CR GS \"(k\"  3 0 49 67  7 CR GS \"(k\"  3 0 49 "
                    "69 48 CR",
                    "GS \"(k\" 49 0 49 80 48 ",
                    "\"https://tableping.sk/options.php?id=12345&qr=7\"",
                    "CR LF",
                    "ESC $ 170 0 CR GS \"(k\"  3 0 49 81 48 CR LF",
                    "ESC d 0 CR LF",
                    "\"" + footer + "\" CR LF",
                    "ESC d 0 CR LF",
                    "\"\" CR LF",
                    "ESC ! 48 CR",
                    "\"          QR: 7\" CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "ESC ! 0 CR",
                    "ESC E CR",
                    "\"" + blanks(18) + "Thank you" + blanks(18) + "\" CR LF",
                    "\"" + blanks(19) + "Call us" + blanks(19) + "\" CR LF",
                    "ESC d 3 CR LF",
                    "ESC ! 0 CR",
                    "ESC 105 CR LF",
                });
}

TEST(PrintingQrTicket, NumberWithBlanksAndLongName) {
    TCompanyProfile p = profile();
    p.id = " 12345 ";
    p.name = "Restaurant U Zlateho Bazanta 31"; // 31 characters
    const QStringList lines = qrticket(p, " 12", settings());
    EXPECT_EQ(lines[3], "\"Restaurant U Zlateho Bazanta 3\" CR LF");
    EXPECT_EQ(lines[12], "GS \"(k\" 50 0 49 80 48 ");
    EXPECT_EQ(lines[13], "\"https://tableping.sk/options.php?id=12345&qr=12\"");
    EXPECT_EQ(lines[21], "\"" + blanks(10) + "QR:  12\" CR LF");
}

TEST(PrintingQrTicket, LengthCountsBytesTheQrStoreReceives) {
    TPrintSettings s = settings();
    s.serviceBase = "https://tableping.sk/čaj\"x"; // a letter and a quote: one byte each
    const QStringList lines = qrticket(profile(), "7", s);
    EXPECT_EQ(lines[12], "GS \"(k\" 55 0 49 80 48 ");
    EXPECT_EQ(lines[13], "\"https://tableping.sk/čaj\\\"x/options.php?id=12345&qr=7\"");
    EXPECT_EQ(convertscriptline(lines[13]),
              "\"https://tableping.sk/\"159\"aj\\\"x/options.php?id=12345&qr=7\"");
}

TEST(PrintingQrTicket, AddressTooLongForTheLengthByteIsRefused) {
    TPrintSettings s = settings();
    const QString tail = "/options.php?id=12345&qr=7"; // 26 characters
    s.serviceBase = "https://" + QString(252 - 26 - 8, u'a');
    EXPECT_EQ(qrticket(profile(), "7", s)[12], "GS \"(k\" 255 0 49 80 48 ");
    s.serviceBase += "a";
    try {
        qrticket(profile(), "7", s);
        FAIL() << "a 253-character address was accepted";
    } catch (const TPrintError& e) {
        EXPECT_TRUE(e.message().contains("253")) << e.what();
    }
}

TEST(PrintingCallTicket, WholeScript) {
    const QString separator = blanks(4) + QString(37, u'=') + blanks(4);
    expectlines(callticket("12", "PAY", "9. 12. 2026 14:20:05", "WWW.TABLEPING.SK"),
                {
                    "ESC t 18 CR LF ",
                    "ESC ! 0 CR",
                    "ESC E CR",
                    "\"" + separator + "\" CR LF",
                    "\"REQUEST .N. : 12\" CR LF",
                    "\"REQUEST TIME .N. : 9. 12. 2026 14:20:05\" CR LF",
                    "ESC d 0 CR LF",
                    "ESC E CR",
                    "\"Option: " + blanks(21) + "PAY" + blanks(21) + " N.: 12\" CR LF",
                    "ESC d 0 CR LF",
                    "\"" + separator + "\" CR LF",
                    "ESC d 0 CR LF",
                    "\"" + blanks(14) + "WWW.TABLEPING.SK" + blanks(15) + "\" CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "ESC d 0 CR LF",
                    "ESC ! 0 CR",
                    "ESC 105 CR LF",
                });
}

TEST(PrintingCallTicket, OptionTextIsFittedAndQuoted) {
    EXPECT_EQ(callticket("3", "", "t", "f")[8], "\"Option: " + blanks(45) + " N.: 3\" CR LF");
    const QString fifty = QString(45, u'x') + "YYYYY";
    EXPECT_EQ(callticket("3", fifty, "t", "f")[8],
              "\"Option: " + QString(45, u'x') + " N.: 3\" CR LF");
    // A quote in the option text reaches the printer as a quote.
    EXPECT_EQ(callticket("3", "Pay \"cash\"", "t", "f")[8],
              "\"Option: " + blanks(17) + "Pay \\\"cash\\\"" + blanks(18) + " N.: 3\" CR LF");
    EXPECT_EQ(convertscriptline(callticket("3", "Účet", "t", "f")[8]),
              "\"Option: " + blanks(20) + "\"233\"\"159\"et" + blanks(21) + " N.: 3\" CR LF");
}

TEST(PrintingCallTicket, StampIsDateAndTimeExceptAtMidnight) {
    const QLocale sk(QLocale::Slovak, QLocale::Slovakia);
    const QDate day(2026, 12, 9);
    const QString date = sk.toString(day, QLocale::ShortFormat);
    const QTime time(14, 20, 5);
    EXPECT_EQ(ticketstamp(QDateTime(day, time), sk),
              date + " " + sk.toString(time, QLocale::LongFormat));
    EXPECT_EQ(ticketstamp(QDateTime(day, QTime(0, 0)), sk), date);
    EXPECT_NE(ticketstamp(QDateTime(day, QTime(0, 0, 1)), sk), date);
}

// Whatever the service sends, no text on a ticket reaches the printer as a
// command: every control character of it is printed as "?".
TEST(PrintingTickets, ServiceTextsCannotCommandThePrinter) {
    const auto controls = [](const QStringList& lines) {
        QString all;
        for (const QString& line : lines)
            all += convertscriptline(line);
        return all.count(QChar(0x1B)) + all.count(QChar(0x1D)) + all.count(QChar(0x7F)) +
               all.count(QChar(u'\n')) + all.count(QChar(u'\r'));
    };
    const QStringList call = callticket("12\x1Bi",
                                        "PAY\x1D"
                                        "V\x7F",
                                        "stamp", "FOOTER");
    EXPECT_EQ(controls(call), 0);
    EXPECT_EQ(call[4], "\"REQUEST .N. : 12?i\" CR LF");
    EXPECT_TRUE(call[8].contains("PAY?V?")) << call[8].toStdString();

    TCompanyProfile p = profile();
    p.name = "Bistro\x1B@";
    p.text1u = "line\r\nbreak";
    p.text1d = "\x1Bi";
    const QStringList qr = qrticket(p, "7\x1B", settings());
    EXPECT_EQ(controls(qr), 0);
    EXPECT_TRUE(qr.join('\n').contains("QR: 7?")) << qr.join('\n').toStdString();
    EXPECT_TRUE(qr.join('\n').contains("Bistro?@"));
}
