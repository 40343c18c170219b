// The settings form without a service: the store, filling, languages, the
// selectors and the WiFi filter.
#include "form_fixture.h"
#include "initial_texts.h"
#include "languages.h"
#include "profile_writes.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

// Nothing listens there: the form is never asked to reach the service here.
const QString kNoService = QStringLiteral("http://127.0.0.1:9");

struct DeskSettingsForm : ::testing::Test {
    FormUnderTest t{kNoService};
};

// The nine fields with a language default, in table order.
QStringList defaultTexts(Ui::TForm1& u) {
    return {u.LabeledEdit2->text(),
            u.LabeledEdit10->text(),
            u.LabeledEdit11->text(),
            u.LabeledEdit12->text(),
            u.LabeledEdit13->text(),
            u.o1->text(),
            u.o2->text(),
            u.o3->text(),
            u.o4->text()};
}

QStringList languageDefaults(const QString& code) {
    const auto t = languageTexts(code);
    QStringList out;
    for (int row = RowDefaultName; row <= RowDefaultO4; ++row)
        out << t->row(LanguageRow(row));
    return out;
}

} // namespace

TEST_F(DeskSettingsForm, StoreReadWriteAndClearWithTheirMessages) {
    EXPECT_EQ(t.form->citajregister(), "");
    t.form->cistiregister();
    EXPECT_EQ(t.shown(), std::vector<QString>{QStringLiteral("Kľúč neexistuje.")});

    t.ui().LabeledEdit1->setText("  ");
    t.ui().LabeledEdit14->setText("me@x.sk");
    t.ui().CL->setCurrentIndex(3);
    ASSERT_TRUE(t.form->Zapisregister());
    EXPECT_EQ(t.form->profile().lang, "DE");
    t.form->profile() = {};
    EXPECT_EQ(t.form->citajregister(), "  "); // untrimmed
    EXPECT_EQ(t.form->profile().email, "me@x.sk");
    EXPECT_EQ(t.store.read("LANG").value_or(""), "DE");

    t.messages.clear();
    t.form->cistiregister();
    EXPECT_EQ(t.shown(), std::vector<QString>{QStringLiteral("Register bol úspešne vymazaný.")});
    EXPECT_FALSE(t.store.exists());
    EXPECT_EQ(t.form->citajregister(), "");
}

TEST_F(DeskSettingsForm, ValueNamesAreMatchedWithoutCase) {
    QFile f(t.store.location());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[General]\nId=abc\neMail=q@w.sk\n");
    f.close();
    EXPECT_EQ(t.form->citajregister(), "abc");
    EXPECT_EQ(t.form->profile().email, "q@w.sk");
    ASSERT_TRUE(t.store.write("new", "EN", "e@e.sk"));
    EXPECT_EQ(t.store.read("id").value_or(""), "new");
    EXPECT_EQ(t.store.read("EMAIL").value_or(""), "e@e.sk");
}

TEST(DeskSettingsStoreFailures, UnwritableStoreEndsTheApplicationAndFailedClearSaysSo) {
    QTemporaryDir dir;
    // The store's folder is a plain file: nothing can be created below it.
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FormUnderTest t{kNoService};
    SettingsStore broken(dir.filePath("blocked/tpg.conf"));
    TForm1 form(DeskConfig{}, t.messages, broken);
    int ended = 0;
    form.setEndApplication([&] { ++ended; });
    form.ui()->LabeledEdit1->setText("123456");
    EXPECT_FALSE(form.Zapisregister());
    ASSERT_EQ(t.messages.entries().size(), 1u);
    EXPECT_EQ(t.messages.entries()[0].text, "         Error durring Register Software.   ");
    EXPECT_EQ(t.messages.entries()[0].caption, " Contact Support please ! ");
    EXPECT_EQ(t.messages.entries()[0].icon, MessageIcon::Error);
    EXPECT_EQ(ended, 1);

    // A store that exists but cannot be removed.
    ASSERT_TRUE(QDir(dir.path()).mkpath("stuck.conf/inside"));
    SettingsStore stuck(dir.filePath("stuck.conf"));
    TForm1 other(DeskConfig{}, t.messages, stuck);
    t.messages.clear();
    other.cistiregister();
    EXPECT_EQ(t.shown(), std::vector<QString>{QStringLiteral("Zmazanie registra zlyhalo.")});
}

TEST_F(DeskSettingsForm, StartsWithTheInitialTextsAndWindowFlags) {
    auto& u = t.ui();
    EXPECT_EQ(t.form->windowTitle(), "TABLEPING SET ver.2.1");
    EXPECT_EQ(u.LabeledEdit1->text(), "9999999999");
    EXPECT_EQ(u.CL->currentText(), "EN English language");
    EXPECT_EQ(u.CL->count(), 12);
    EXPECT_EQ(u.CL->itemText(11), QStringLiteral("BG 'Български език"));
    EXPECT_EQ(u.ComboBox5->count(), 4);
    EXPECT_EQ(u.ComboBox5->itemText(2), "3.POS printerONLY");
    EXPECT_EQ(u.cb1->currentText(), "3");
    EXPECT_EQ(u.Cb2->currentText(), "2");
    EXPECT_EQ(u.Cb6->currentText(), "3");
    EXPECT_EQ(u.cqr->text(), "1");
    EXPECT_FALSE(u.LabeledEdit8->isEnabled());
    EXPECT_TRUE(u.LabeledEdit4->isReadOnly());
    EXPECT_TRUE(u.Button2->toolTip().startsWith("You can also enter intervals"));
    const Qt::WindowFlags flags = t.form->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);

    DeskConfig insecure;
    insecure.tlsVerify = false;
    TForm1 off(insecure, t.messages, t.store);
    EXPECT_NE(off.windowTitle().indexOf("verification OFF"), -1);
    off.setFormCaption("Setting parameres");
    EXPECT_TRUE(off.windowTitle().startsWith("Setting parameres"));
}

// The texts the form starts with are the ones the registration checks and
// the language defaults compare against.
TEST_F(DeskSettingsForm, InitialTextsAreTheComparedOnes) {
    auto& u = t.ui();
    EXPECT_EQ(u.LabeledEdit1->text(), kIdPlaceholder);
    EXPECT_EQ(u.LabeledEdit14->text(), kEmailPlaceholder);
    EXPECT_EQ(defaultTexts(u),
              QStringList({kInitialName, kInitialT1, kInitialT2, kInitialT3, kInitialT4, kInitialO1,
                           kInitialO2, kInitialO3, kInitialO4}));
    EXPECT_EQ(checkregistration(u.LabeledEdit1->text(), u.LabeledEdit14->text()),
              TRegistrationCheck::BadId);
    EXPECT_EQ(checkregistration("12345", u.LabeledEdit14->text()), TRegistrationCheck::BadEmail);
    EXPECT_EQ(checkregistration("12345", "a@b.sk"), TRegistrationCheck::Ok);
}

TEST_F(DeskSettingsForm, EscapeAndCloseDoNotLeaveExitDoes) {
    t.form->show();
    t.form->reject();
    EXPECT_FALSE(t.form->close());
    EXPECT_TRUE(t.form->isVisible());
    EXPECT_EQ(t.endCalls, 0);
    t.form->Button4Click();
    EXPECT_EQ(t.endCalls, 1);
    EXPECT_TRUE(t.form->applicationEnded());
}

TEST_F(DeskSettingsForm, LanguagesReplaceOnlyUntouchedDefaults) {
    auto& u = t.ui();
    // SK on a fresh form replaces all nine; EN afterwards none of them.
    t.form->nahrajjazyk("SK");
    EXPECT_EQ(defaultTexts(u), languageDefaults("SK"));
    EXPECT_EQ(u.Button3->text(), QStringLiteral("REGISTROVAŤ"));
    EXPECT_EQ(t.form->profile().alertprefix,
              QStringLiteral("Pozor ! Máte novú správu od QR čísla: "));
    t.form->nahrajjazyk("EN");
    EXPECT_EQ(defaultTexts(u), languageDefaults("SK"));
    EXPECT_EQ(u.Button3->text(), "REGISTER");
    EXPECT_EQ(t.form->profile().alertcaption, "! Message from TPG system !");
}

TEST_F(DeskSettingsForm, EnglishThenGermanKeepsTheEnglishDefaults) {
    auto& u = t.ui();
    t.form->nahrajjazyk("EN");
    EXPECT_EQ(u.o2->text(), "I want to pay the bill in cash - only the entire bill");
    EXPECT_EQ(u.LabeledEdit10->text(), "Call the service if you are waitinga too long");
    EXPECT_EQ(u.LabeledEdit2->text(), "My company name"); // equal to its comparison text
    t.form->nahrajjazyk("DE");
    EXPECT_EQ(u.o2->text(), "I want to pay the bill in cash - only the entire bill");
    EXPECT_EQ(u.LabeledEdit10->text(), "Call the service if you are waitinga too long");
    EXPECT_EQ(u.LabeledEdit2->text(), "Name meines Unternehmens");
    EXPECT_EQ(u.LabeledEdit14Label->text(), "Ihre E-Mail-Adresse");
}

TEST_F(DeskSettingsForm, TypedTextSurvivesEveryLanguageAndBlanksTakeTheDefault) {
    auto& u = t.ui();
    u.o3->setText("Our own card text");
    u.o4->setText("   ");
    for (const QString& code : languageCodes()) {
        t.form->nahrajjazyk(code);
        EXPECT_EQ(u.o3->text(), "Our own card text") << code.toStdString();
        EXPECT_EQ(u.o4->text(), languageTexts(code)->row(RowDefaultO4)) << code.toStdString();
        u.o4->setText(" ");
    }
}

TEST_F(DeskSettingsForm, UnknownOrLowerCaseCodesChangeNothing) {
    auto& u = t.ui();
    t.form->profile().alertprefix = "mine";
    const QStringList before = defaultTexts(u);
    for (const QString code : {"sk", "XX", "", "S"}) {
        t.form->nahrajjazyk(code);
        EXPECT_EQ(defaultTexts(u), before);
        EXPECT_EQ(u.Button3->text(), "REGISTER");
        EXPECT_EQ(t.form->profile().alertprefix, "mine");
    }
}

TEST(DeskLanguageTables, TwelveCompleteTablesWithTheirAlertTexts) {
    ASSERT_EQ(languageCodes(), QString("SK CZ EN DE PL HU FR SE NO HR IT BG").split(' '));
    for (const QString& code : languageCodes()) {
        const auto t = languageTexts(code);
        ASSERT_TRUE(t);
        for (const QString& row : t->rows)
            EXPECT_FALSE(row.isEmpty()) << code.toStdString();
    }
    EXPECT_EQ(languageTexts("CZ")->row(RowAlertPrefix),
              QStringLiteral("Upozornění! Máte novou zprávu z QR čísla:"));
    EXPECT_EQ(languageTexts("BG")->row(RowAlertCaption),
              QStringLiteral("Съобщение от системата TPG!"));
    EXPECT_EQ(languageTexts("FR")->row(RowIdLabel), QStringLiteral("ID de l’entreprise !!!"));
    EXPECT_EQ(languageTexts("SK")->row(RowSaveQr), QStringLiteral("Ulož QR "));
    EXPECT_EQ(languageTexts("EN")->row(RowEmailLabel), "Your EMAIL address");
    EXPECT_FALSE(languageTexts("en"));
}

TEST_F(DeskSettingsForm, FillingFromTheProfile) {
    auto& u = t.ui();
    TCompanyProfile& p = t.form->profile();
    p.id = "31";
    p.email = "x@y.sk";
    p.size1 = "1";
    p.size2 = "5"; // names no item
    p.size3 = "0";
    p.size4 = "-1";
    p.size5 = "abc";
    p.qrcolor = "2";
    p.output = "3";
    p.lang = "EN";
    p.text1 = "Call us";
    p.ip = "10.0.0.7";
    p.specialsql = "192.168.1.";
    u.LabeledEdit2->setText("Typed name");
    u.CL->setCurrentIndex(0);
    t.form->nahrajform1();

    EXPECT_EQ(u.LabeledEdit1->text(), "31");
    EXPECT_EQ(u.LabeledEdit14->text(), "x@y.sk");
    EXPECT_EQ(u.LabeledEdit2->text(), "Typed name"); // empty name keeps the field
    EXPECT_EQ(u.cb1->currentIndex(), 0);
    EXPECT_EQ(u.Cb2->currentIndex(), -1);
    EXPECT_EQ(u.Cb3->currentIndex(), -1);
    EXPECT_EQ(u.cb4->currentIndex(), -1);
    EXPECT_EQ(u.cb5->currentIndex(), -1);
    EXPECT_EQ(u.Cb6->currentText(), "2");
    EXPECT_EQ(u.ComboBox5->currentText(), "3.POS printerONLY");
    EXPECT_EQ(u.CL->currentText(), "EN English language");
    EXPECT_EQ(u.o1->text(), "Call us");
    EXPECT_EQ(u.o5->text(), ""); // option texts are always taken
    EXPECT_EQ(u.LabeledEdit8->text(), "192.168.1.");
    EXPECT_EQ(u.LabeledEdit5->text(), "192.168.1.");
    EXPECT_EQ(u.LabeledEdit3->text(), "10.0.0.7");
    EXPECT_EQ(p.alertcaption, "! Message from TPG system !");

    // An unknown code keeps the selector where it was.
    p.lang = "XX";
    u.CL->setCurrentIndex(4);
    t.form->nahrajform1();
    EXPECT_EQ(u.CL->currentIndex(), 4);
}

TEST_F(DeskSettingsForm, SelectorChangesGoStraightIntoTheProfile) {
    auto& u = t.ui();
    u.Cb2->setCurrentIndex(0);
    emit u.Cb2->activated(0);
    u.Cb6->setCurrentIndex(1);
    emit u.Cb6->activated(1);
    EXPECT_EQ(t.form->profile().size2, "1");
    EXPECT_EQ(t.form->profile().qrcolor, "2");
    EXPECT_TRUE(t.form->profile().size1.isEmpty());

    u.CL->setCurrentIndex(6);
    emit u.CL->activated(6);
    EXPECT_EQ(u.Button5->text(), "TOUT ENREGISTRER");
    EXPECT_TRUE(t.form->profile().lang.isEmpty()); // nothing saved
}

TEST(DeskWifiFilter, PrefixRule) {
    for (const char* good : {"192.168.1.", "10.0.0.1", "192.168..1.", "0.0.0.", "255.255.255.255"})
        EXPECT_TRUE(TForm1::checkipprefix(good)) << good;
    for (const char* bad : {"192.168.1", "192.168.1.256", "a.b.c.", "1.2.3.4.", "1.2.3.4.5", "",
                            "...", "1.-2.3.", "1. 2.3."})
        EXPECT_FALSE(TForm1::checkipprefix(bad)) << bad;
}

// Only leaving the field for another one of the form checks it; a context
// menu or another window taking the focus does not.
TEST_F(DeskSettingsForm, TheWifiFilterIsCheckedWhenTheUserLeavesTheField) {
    auto& u = t.ui();
    const struct {
        Qt::FocusReason reason;
        bool checked;
    } cases[] = {{Qt::PopupFocusReason, false},   {Qt::ActiveWindowFocusReason, false},
                 {Qt::MenuBarFocusReason, false}, {Qt::TabFocusReason, true},
                 {Qt::BacktabFocusReason, true},  {Qt::MouseFocusReason, true},
                 {Qt::ShortcutFocusReason, true}};
    for (const auto& c : cases) {
        t.messages.clear();
        u.LabeledEdit5->setText("192.168.1");
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(u.LabeledEdit5, &out);
        EXPECT_EQ(t.messages.entries().size(), c.checked ? 1u : 0u) << int(c.reason);
        EXPECT_EQ(u.LabeledEdit5->text().isEmpty(), c.checked) << int(c.reason);
    }
}

// The statistics password box opens on a left click only.
TEST_F(DeskSettingsForm, TheStatisticsPasswordOpensOnALeftClickOnly) {
    int opened = 0;
    t.form->onStatPassword = [&] { ++opened; };
    QLineEdit* field = t.ui().LabeledEdit6;
    const QPointF at(5, 5);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton, Qt::LeftButton}) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            QMouseEvent click(type, at, field->mapToGlobal(at), button, button, Qt::NoModifier);
            QApplication::sendEvent(field, &click);
        }
        EXPECT_EQ(opened, button == Qt::LeftButton ? 2 : 0) << int(button);
    }
}

TEST_F(DeskSettingsForm, LeavingAnInvalidWifiFilterEmptiesIt) {
    auto& u = t.ui();
    u.LabeledEdit5->setText("192.168.1.");
    t.form->LabeledEdit5Exit();
    EXPECT_TRUE(t.messages.entries().empty());
    u.LabeledEdit5->setText("192.168.1");
    t.form->LabeledEdit5Exit();
    EXPECT_EQ(t.shown(), std::vector<QString>{"IP prefix address is invalid. Use first 3 numbers "
                                              "on you local WIFI IP address like 192.168.1."});
    EXPECT_TRUE(u.LabeledEdit5->text().isEmpty());
    t.form->LabeledEdit5Exit(); // empty: no complaint
    EXPECT_EQ(t.messages.entries().size(), 1u);
}
