// The settings form: registration of a new company, completion of its profile
// and later editing of it. It owns the web client and the company profile for
// the life of the program.
#pragma once

#include "company_profile.h"
#include "desk_config.h"
#include "profile_writes.h"
#include "web_client.h"

#include <QDialog>

#include <functional>
#include <memory>

class DeskMessages;
class SettingsStore;

namespace Ui {
class TForm1;
}

class TForm1 : public QDialog {
    Q_OBJECT

public:
    TForm1(DeskConfig config, DeskMessages& messages, SettingsStore& store,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // Settings store
    QString citajregister();
    bool Zapisregister();
    void cistiregister();

    // Profile on the web service
    bool citajsqlcompleted(const QString& id);
    void citajsqlx(const QString& id);
    bool zapissqlcompleted(const QString& id);
    bool registrujdodatabazy();
    bool qrdodatabazy();
    bool zapisstoly(const QString& id, const QString& list);
    bool checkform1();

    // Form and languages
    void nahrajform1();
    void nahrajjazyk(const QString& code);
    static bool checkipprefix(const QString& text);

    // Title of the window; a note is added while TLS verification is off.
    void setFormCaption(const QString& caption);

    // Ends the application: the form closes, the event loops stop, and start-up
    // sees applicationEnded(). Tests replace what happens with setEndApplication.
    void endApplication();
    bool applicationEnded() const { return ended_; }
    void setEndApplication(std::function<void()> hook) { endHook_ = std::move(hook); }

    // Actions of other parts of the desk, connected by the program entry.
    std::function<void()> onPreviewQr;    // SpeedButton1
    std::function<void()> onGenerateQrs;  // Button2
    std::function<void()> onOpenA4;       // btlac
    std::function<void()> onStatPassword; // LabeledEdit6 click
    std::function<void()> onPrintQr;      // Button1

    Ui::TForm1* ui() const { return ui_.get(); }
    TCompanyProfile& profile() { return profile_; }
    WebClient& web() { return *web_; }
    DeskMessages& messages() { return messages_; }
    const DeskConfig& config() const { return config_; }

public slots:
    void Button3Click();      // REGISTER
    void Button5Click();      // SAVE ALL
    void SpeedButton2Click(); // QR design save
    void Button4Click();      // EXIT
    void SpeedButton1Click();
    void Button2Click();
    void btlacClick();
    void LabeledEdit6Click();
    void Button1Click();
    void cb1Change();
    void Cb2Change();
    void Cb3Change();
    void cb4Change();
    void cb5Change();
    void Cb6Change();
    void CLChange();
    void LabeledEdit5Exit();

    // The form has no close box: Escape and the window manager's close do nothing.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool writeProfile(const WebParams& params);
    // The texts of the fields a profile write sends.
    TProfileForm formvalues() const;
    void showStartOfTexts();

    DeskConfig config_;
    DeskMessages& messages_;
    SettingsStore& store_;
    std::unique_ptr<Ui::TForm1> ui_;
    std::unique_ptr<WebClient> web_;
    TCompanyProfile profile_;
    std::function<void()> endHook_;
    bool ended_ = false;
    bool checkingWifi_ = false;
};
