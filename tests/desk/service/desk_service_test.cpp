// The settings form against tpgservice over HTTPS, its certificate trusted
// through the desk configuration's CA file.
#include "form_fixture.h"
#include "qt_test_app.h"
#include "tpgservice_process.h"

#include <gtest/gtest.h>

namespace {

struct DeskService : ::testing::Test {
    TpgserviceProcess service{QStringLiteral(TPGSERVICE_PATH)};

    void SetUp() override {
        qtTestApp();
        ASSERT_TRUE(service.running()) << service.error().toStdString();
    }
};

void fillCompany(Ui::TForm1& u, const QString& id) {
    u.LabeledEdit1->setText(id);
    u.LabeledEdit14->setText("chef@bistro.sk");
    u.LabeledEdit2->setText(QStringLiteral("Bistro Ďaleko | \"U nás\""));
    u.CL->setCurrentIndex(0);
    u.LabeledEdit3->setText("127.0.0.1:9100");
    u.o6->setText("Free option");
    u.o6www->setText("https://bistro.example/extra?a=1&b=2");
    u.LabeledEdit5->setText("192.168.1.");
    u.ComboBox5->setCurrentIndex(1);
    u.cb5->setCurrentIndex(2);
}

} // namespace

TEST_F(DeskService, RegisterANewCompanyEndToEnd) {
    FormUnderTest reg(service.base(), service.certificate());
    EXPECT_FALSE(reg.form->citajsqlcompleted("880011"));
    fillCompany(reg.ui(), "880011");
    reg.form->Button3Click();
    ASSERT_EQ(reg.shown(), std::vector<QString>{"Saved OK"});
    EXPECT_EQ(reg.store.read("id").value_or(""), "880011");
    EXPECT_EQ(reg.store.read("lang").value_or(""), "SK");
    EXPECT_TRUE(reg.form->citajsqlcompleted("880011"));

    // The next start: a fresh form reads the store and the profile back.
    FormUnderTest next(service.base(), service.certificate());
    ASSERT_TRUE(QFile::copy(reg.store.location(), next.store.location()));
    const QString id = next.form->citajregister();
    ASSERT_EQ(id, "880011");
    next.form->citajsqlx(id);
    const TCompanyProfile& p = next.form->profile();
    EXPECT_EQ(p.name, QStringLiteral("Bistro Ďaleko | \"U nás\""));
    EXPECT_EQ(p.lang, "SK");
    EXPECT_EQ(p.ip, "127.0.0.1:9100");
    EXPECT_EQ(p.text6www, "https://bistro.example/extra?a=1&b=2");
    EXPECT_EQ(p.output, "2");
    EXPECT_EQ(p.size5, "3");
    EXPECT_EQ(p.specialsql, "192.168.1.");
    EXPECT_EQ(p.date_created, QDate::currentDate().toString("yyyy-MM-dd"));
    EXPECT_EQ(p.email, "chef@bistro.sk");
    EXPECT_TRUE(next.messages.entries().empty());

    next.form->nahrajform1();
    EXPECT_EQ(next.ui().CL->currentText(), QStringLiteral("SK Slovenský jazyk"));
    EXPECT_EQ(next.ui().Button5->text(), QStringLiteral("ULOŽIŤ VŠETKO"));
    EXPECT_EQ(next.ui().o6->text(), "Free option");
    EXPECT_EQ(next.ui().ComboBox5->currentIndex(), 1);
}

TEST_F(DeskService, SaveAllWithAStoredIdWritesUnderTheFormsId) {
    FormUnderTest t(service.base(), service.certificate());
    ASSERT_TRUE(t.store.write("111111", "EN", "old@bistro.sk"));
    fillCompany(t.ui(), "222222");
    t.ui().LabeledEdit2->setText("Second name");
    t.form->Button5Click();
    ASSERT_EQ(t.shown(), std::vector<QString>{"Saved OK"});
    EXPECT_EQ(t.store.read("id").value_or(""), "111111");

    t.form->citajsqlx("222222");
    EXPECT_EQ(t.form->profile().name, "Second name");
    TCompanyProfile before = t.form->profile();
    t.form->citajsqlx("111111"); // nothing stored under it: an empty answer
    EXPECT_EQ(t.form->profile().name, "Second name");
}

TEST_F(DeskService, CertificatesAreVerified) {
    // Without the stand-in's certificate the system store does not trust it.
    FormUnderTest untrusted(service.base());
    fillCompany(untrusted.ui(), "330033");
    untrusted.form->Button3Click();
    ASSERT_EQ(untrusted.messages.entries().size(), 2u);
    EXPECT_TRUE(untrusted.shown()[0].startsWith("Error durring register to Server TABLEPING: "));
    EXPECT_NE(untrusted.shown()[0].indexOf("SSL", 0, Qt::CaseInsensitive), -1)
        << untrusted.shown()[0].toStdString();
    EXPECT_FALSE(untrusted.form->citajsqlcompleted("330033"));

    // Verification off is an explicit choice, and the window says so.
    DeskConfig insecure;
    insecure.serviceBase = service.base();
    insecure.tlsVerify = false;
    RecordingDeskMessages messages;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("tpg.conf"));
    TForm1 form(insecure, messages, store);
    EXPECT_NE(form.windowTitle().indexOf("OFF"), -1);
    fillCompany(*form.ui(), "330033");
    form.Button3Click();
    EXPECT_EQ(messages.texts(), std::vector<QString>{"Saved OK"});
}
