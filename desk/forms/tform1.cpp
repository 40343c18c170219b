#include "tform1.h"

#include "initial_texts.h"
#include "languages.h"
#include "messages.h"
#include "profile_answer.h"
#include "profile_service.h"
#include "profile_writes.h"
#include "settings_store.h"
#include "ui_tform1.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace {

const QString kMissingFields =
    QStringLiteral("         Alert! Missing fields Company ID or Email ! !!   ");
const QString kMissingCaption = QStringLiteral("Erro message");
const QString kWriteFailed = QStringLiteral("Error durring register to Server TABLEPING: ");

QString today() {
    return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
}

// A profile number selects item (number - 1); anything else selects nothing.
void selectByNumber(QComboBox* box, const QString& value) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    const int index = ok ? n - 1 : -1;
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

// Button captions are the system's texts; "&" is a letter there, not the mark
// of a keyboard shortcut.
void setCaption(QAbstractButton* button, const QString& text) {
    QString escaped = text;
    button->setText(escaped.replace(QLatin1Char('&'), QLatin1String("&&")));
}

// The fields that start with a text of their own, and that text.
std::vector<std::pair<QLineEdit*, QString>> initialTexts(Ui::TForm1& u) {
    return {{u.LabeledEdit1, kIdPlaceholder},
            {u.LabeledEdit14, kEmailPlaceholder},
            {u.LabeledEdit2, kInitialName},
            {u.LabeledEdit10, kInitialT1},
            {u.LabeledEdit11, kInitialT2},
            {u.LabeledEdit12, kInitialT3},
            {u.LabeledEdit13, kInitialT4},
            {u.o1, kInitialO1},
            {u.o2, kInitialO2},
            {u.o3, kInitialO3},
            {u.o4, kInitialO4}};
}

// The form's initial text of a field, against which "unchanged" is judged.
struct DefaultField {
    QLineEdit* edit;
    LanguageRow row;
    const QString& initial;
};

} // namespace

TForm1::TForm1(DeskConfig config, DeskMessages& messages, SettingsStore& store, QWidget* parent)
    : QDialog(parent), config_(std::move(config)), messages_(messages), store_(store),
      ui_(std::make_unique<Ui::TForm1>()) {
    ui_->setupUi(this);
    for (const auto& [edit, text] : initialTexts(*ui_))
        edit->setText(text);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMaximizeButtonHint);
    setFormCaption(windowTitle());

    web_ = std::make_unique<WebClient>(WebClientOptions{config_.serviceBase, config_.caFile,
                                                        config_.tlsVerify, config_.connectTimeoutMs,
                                                        config_.requestTimeoutMs});

    connect(ui_->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui_->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(ui_->SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
    connect(ui_->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(ui_->SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui_->btlac, &QPushButton::clicked, this, &TForm1::btlacClick);
    connect(ui_->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    // Only the user's choice counts as a change, not the form being filled.
    connect(ui_->cb1, &QComboBox::activated, this, &TForm1::cb1Change);
    connect(ui_->Cb2, &QComboBox::activated, this, &TForm1::Cb2Change);
    connect(ui_->Cb3, &QComboBox::activated, this, &TForm1::Cb3Change);
    connect(ui_->cb4, &QComboBox::activated, this, &TForm1::cb4Change);
    connect(ui_->cb5, &QComboBox::activated, this, &TForm1::cb5Change);
    connect(ui_->Cb6, &QComboBox::activated, this, &TForm1::Cb6Change);
    connect(ui_->CL, &QComboBox::activated, this, &TForm1::CLChange);
    ui_->LabeledEdit5->installEventFilter(this);
    ui_->LabeledEdit6->installEventFilter(this);
    // The buttons must not act as the dialog's default button on Enter.
    for (auto* b : findChildren<QPushButton*>())
        b->setAutoDefault(false);
    showStartOfTexts();
}

TForm1::~TForm1() = default;

void TForm1::setFormCaption(const QString& caption) {
    if (config_.tlsVerify)
        setWindowTitle(caption);
    else
        setWindowTitle(caption + QStringLiteral("  [TLS certificate verification OFF]"));
}

void TForm1::endApplication() {
    ended_ = true;
    if (endHook_) {
        endHook_();
        return;
    }
    QDialog::done(QDialog::Rejected);
    QCoreApplication::exit(0);
}

void TForm1::reject() {}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!ended_) event->ignore();
}

namespace {

// The user left the field for another one of the form. A context menu or
// another window taking the focus is not leaving: the user comes back to the
// same field, and a message then would be out of place.
bool leftTheField(const QFocusEvent& event) {
    switch (event.reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->LabeledEdit5 && event->type() == QEvent::FocusOut &&
        leftTheField(static_cast<const QFocusEvent&>(*event)))
        LabeledEdit5Exit();
    else if (watched == ui_->LabeledEdit6 &&
             (event->type() == QEvent::MouseButtonPress ||
              event->type() == QEvent::MouseButtonDblClick) &&
             static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton)
        LabeledEdit6Click();
    return QDialog::eventFilter(watched, event);
}

// ---- Settings store ----

QString TForm1::citajregister() {
    const QString id = store_.read(QStringLiteral("id")).value_or(QString());
    profile_.id = id;
    profile_.email = store_.read(QStringLiteral("email")).value_or(QString());
    return id;
}

bool TForm1::Zapisregister() {
    const QString id = ui_->LabeledEdit1->text();
    const QString lang = ui_->CL->currentText().left(2);
    const QString email = ui_->LabeledEdit14->text();
    if (!store_.write(id, lang, email)) {
        messages_.messageBox(QStringLiteral("         Error durring Register Software.   "),
                             QStringLiteral(" Contact Support please ! "), MessageIcon::Error);
        endApplication();
        return false;
    }
    profile_.id = id;
    profile_.lang = lang;
    profile_.email = email;
    return true;
}

void TForm1::cistiregister() {
    switch (store_.clear()) {
    case SettingsStore::ClearResult::NotFound:
        messages_.showMessage(QStringLiteral("Kľúč neexistuje."));
        break;
    case SettingsStore::ClearResult::Cleared:
        messages_.showMessage(QStringLiteral("Register bol úspešne vymazaný."));
        break;
    case SettingsStore::ClearResult::Failed:
        messages_.showMessage(QStringLiteral("Zmazanie registra zlyhalo."));
        break;
    }
}

// ---- Profile on the web service ----

bool TForm1::citajsqlcompleted(const QString& id) {
    return queryProfileCompleted(*web_, id);
}

void TForm1::citajsqlx(const QString& id) {
    readProfile(*web_, id, profile_);
    // Also after a failed read: a profile complete in memory is marked again.
    if (profileComplete(profile_)) zapissqlcompleted(id);
}

bool TForm1::writeProfile(const WebParams& params) {
    try {
        writeProfileParams(*web_, params);
        return true;
    } catch (const WebClientError& e) {
        messages_.showMessage(kWriteFailed + e.text());
        return false;
    }
}

bool TForm1::zapissqlcompleted(const QString& id) {
    return writeProfile(completedparams(id));
}

TProfileForm TForm1::formvalues() const {
    const auto& u = *ui_;
    TProfileForm f;
    f.id = u.LabeledEdit1->text();
    f.email = u.LabeledEdit14->text();
    f.name = u.LabeledEdit2->text();
    f.lang = u.CL->currentText().left(2);
    f.ip = u.LabeledEdit3->text();
    f.size1 = u.cb1->currentText();
    f.size2 = u.Cb2->currentText();
    f.size3 = u.Cb3->currentText();
    f.size4 = u.cb4->currentText();
    f.size5 = u.cb5->currentText();
    f.qrcolor = u.Cb6->currentText();
    f.text1u = u.LabeledEdit10->text();
    f.text2u = u.LabeledEdit11->text();
    f.text1d = u.LabeledEdit12->text();
    f.text2d = u.LabeledEdit13->text();
    f.output = u.ComboBox5->currentText().left(1);
    f.text1 = u.o1->text();
    f.text2 = u.o2->text();
    f.text3 = u.o3->text();
    f.text4 = u.o4->text();
    f.text5 = u.o5->text();
    f.text6 = u.o6->text();
    f.text4www = u.o4www->text();
    f.text5www = u.o5www->text();
    f.text6www = u.o6www->text();
    f.specialsql = u.LabeledEdit5->text();
    f.specialpath = u.LabeledEdit4->text();
    return f;
}

bool TForm1::registrujdodatabazy() {
    return writeProfile(wholeprofileparams(formvalues(), profile_.textwww, today()));
}

bool TForm1::qrdodatabazy() {
    return writeProfile(qrdesignparams(formvalues()));
}

bool TForm1::zapisstoly(const QString& id, const QString& list) {
    return writeProfile(tablelistparams(id, list));
}

bool TForm1::checkform1() {
    switch (checkregistration(ui_->LabeledEdit1->text(), ui_->LabeledEdit14->text())) {
    case TRegistrationCheck::BadId:
        messages_.showMessage(QStringLiteral(
            "ID - Company number must be filled in  !!! Its your Company ID number. "));
        return false;
    case TRegistrationCheck::BadEmail:
        messages_.showMessage(
            QStringLiteral("EMAIL - Your email must be filled in  !!! Its your Email address. "));
        return false;
    case TRegistrationCheck::Ok:
        break;
    }
    return true;
}

// ---- Buttons ----

void TForm1::Button3Click() {
    if (!checkform1()) {
        messages_.messageBox(kMissingFields, kMissingCaption, MessageIcon::Warning);
        return;
    }
    if (citajregister().trimmed().isEmpty() && !Zapisregister()) return;
    if (registrujdodatabazy())
        messages_.showMessage(QStringLiteral("Saved OK"));
    else
        // The form stays open so that nothing typed is lost; the user can try again.
        messages_.messageBox(QStringLiteral("         Error,   Check internet connection !!   "),
                             QStringLiteral("ERROR"), MessageIcon::Warning);
}

void TForm1::Button5Click() {
    if (citajregister().trimmed().isEmpty()) {
        // Saving on a machine without a stored ID registers it: the same checks
        // as REGISTER keep the placeholder ID out of the store.
        if (!checkform1()) {
            messages_.messageBox(kMissingFields, kMissingCaption, MessageIcon::Warning);
            return;
        }
        if (!Zapisregister()) return;
    }
    if (registrujdodatabazy())
        messages_.showMessage(QStringLiteral("Saved OK"));
    else
        messages_.messageBox(
            QStringLiteral("         Pozor! Neexistuje pripojenie na internet !!   "),
            QStringLiteral("POZOR SPRÁVA"), MessageIcon::Warning);
}

void TForm1::SpeedButton2Click() {
    if (ui_->LabeledEdit2->text().isEmpty() || ui_->LabeledEdit10->text().isEmpty()) {
        messages_.messageBox(kMissingFields, kMissingCaption, MessageIcon::Warning);
        return;
    }
    if (qrdodatabazy()) messages_.showMessage(QStringLiteral("Saved OK "));
}

void TForm1::Button4Click() {
    endApplication();
}

void TForm1::SpeedButton1Click() {
    if (onPreviewQr) onPreviewQr();
}

void TForm1::Button2Click() {
    if (onGenerateQrs) onGenerateQrs();
}

void TForm1::btlacClick() {
    if (onOpenA4) onOpenA4();
}

void TForm1::LabeledEdit6Click() {
    if (onStatPassword) onStatPassword();
}

void TForm1::Button1Click() {
    if (onPrintQr) onPrintQr();
}

// ---- Selectors ----

void TForm1::cb1Change() {
    profile_.size1 = ui_->cb1->currentText();
}

void TForm1::Cb2Change() {
    profile_.size2 = ui_->Cb2->currentText();
}

void TForm1::Cb3Change() {
    profile_.size3 = ui_->Cb3->currentText();
}

void TForm1::cb4Change() {
    profile_.size4 = ui_->cb4->currentText();
}

void TForm1::cb5Change() {
    profile_.size5 = ui_->cb5->currentText();
}

void TForm1::Cb6Change() {
    profile_.qrcolor = ui_->Cb6->currentText();
}

void TForm1::CLChange() {
    nahrajjazyk(ui_->CL->currentText().left(2));
}

// ---- WiFi filter ----

bool TForm1::checkipprefix(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    const qsizetype wanted = text.endsWith(QLatin1Char('.')) ? 3 : 4;
    if (pieces.size() != wanted) return false;
    for (const QString& piece : pieces) {
        if (piece.size() > 3) return false;
        for (QChar c : piece)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        if (piece.toInt() > 255) return false;
    }
    return true;
}

void TForm1::LabeledEdit5Exit() {
    // The message box takes the focus away from the field once more.
    if (checkingWifi_) return;
    const QString text = ui_->LabeledEdit5->text();
    if (text.isEmpty() || checkipprefix(text)) return;
    checkingWifi_ = true;
    messages_.showMessage(QStringLiteral("IP prefix address is invalid. Use first 3 numbers on you "
                                         "local WIFI IP address like 192.168.1."));
    ui_->LabeledEdit5->clear();
    ui_->LabeledEdit5->setFocus();
    checkingWifi_ = false;
}

// ---- Filling the form and languages ----

void TForm1::nahrajform1() {
    auto& u = *ui_;
    const TCompanyProfile& p = profile_;
    u.LabeledEdit1->setText(p.id);
    u.LabeledEdit14->setText(p.email);
    const std::pair<QLineEdit*, const QString*> keepUnlessSet[] = {
        {u.LabeledEdit2, &p.name},       {u.LabeledEdit4, &p.specialpath},
        {u.LabeledEdit5, &p.specialsql}, {u.LabeledEdit10, &p.text1u},
        {u.LabeledEdit11, &p.text2u},    {u.LabeledEdit12, &p.text1d},
        {u.LabeledEdit13, &p.text2d}};
    for (const auto& [edit, value] : keepUnlessSet)
        if (!value->isEmpty()) edit->setText(*value);
    selectByNumber(u.cb1, p.size1);
    selectByNumber(u.Cb2, p.size2);
    selectByNumber(u.Cb3, p.size3);
    selectByNumber(u.cb4, p.size4);
    selectByNumber(u.cb5, p.size5);
    selectByNumber(u.Cb6, p.qrcolor);
    selectByNumber(u.ComboBox5, p.output);
    const qsizetype lang = languageCodes().indexOf(p.lang);
    if (lang >= 0) u.CL->setCurrentIndex(int(lang));
    u.o1->setText(p.text1);
    u.o2->setText(p.text2);
    u.o3->setText(p.text3);
    u.o4->setText(p.text4);
    u.o5->setText(p.text5);
    u.o6->setText(p.text6);
    u.o4www->setText(p.text4www);
    u.o5www->setText(p.text5www);
    u.o6www->setText(p.text6www);
    u.LabeledEdit8->setText(p.specialsql);
    u.LabeledEdit3->setText(p.ip);
    nahrajjazyk(p.lang);
    showStartOfTexts();
}

void TForm1::nahrajjazyk(const QString& code) {
    const auto texts = languageTexts(code);
    if (!texts) return;
    auto& u = *ui_;
    const LanguageTexts& t = *texts;
    u.LabeledEdit1Label->setText(t.row(RowIdLabel));
    u.LabeledEdit14Label->setText(t.row(RowEmailLabel));
    u.LabeledEdit2Label->setText(t.row(RowNameLabel));
    u.LabelOutputHeading->setText(t.row(RowOutputHeading));
    u.LabelOptionsHeading->setText(t.row(RowOptionsHeading));
    u.LabelOptionsColumn->setText(t.row(RowOptionsColumn));
    u.LabelOptionsNote->setText(t.row(RowOptionsNote));
    u.LabelRightNote->setText(t.row(RowRightNote));
    setCaption(u.Button3, t.row(RowRegister));
    setCaption(u.SpeedButton1, t.row(RowShowQr));
    setCaption(u.SpeedButton2, t.row(RowSaveQr));
    setCaption(u.Button5, t.row(RowSaveAll));
    setCaption(u.Button2, t.row(RowSetQrNumbers));
    setCaption(u.btlac, t.row(RowGenerateA4));
    setCaption(u.Button1, t.row(RowPrintQr));

    // A field still showing the form's initial text (or nothing) takes the
    // language's default; anything the user typed stays.
    const DefaultField defaults[] = {
        {u.LabeledEdit2, RowDefaultName, kInitialName},
        {u.LabeledEdit10, RowDefaultT1, kInitialT1},
        {u.LabeledEdit11, RowDefaultT2, kInitialT2},
        {u.LabeledEdit12, RowDefaultT3, kInitialT3},
        {u.LabeledEdit13, RowDefaultT4, kInitialT4},
        {u.o1, RowDefaultO1, kInitialO1},
        {u.o2, RowDefaultO2, kInitialO2},
        {u.o3, RowDefaultO3, kInitialO3},
        {u.o4, RowDefaultO4, kInitialO4},
    };
    for (const auto& d : defaults) {
        const QString current = d.edit->text().trimmed();
        if (current.isEmpty() || current == d.initial) d.edit->setText(t.row(d.row));
    }
    profile_.alertprefix = t.row(RowAlertPrefix);
    profile_.alertcaption = t.row(RowAlertCaption);
    showStartOfTexts();
}

void TForm1::showStartOfTexts() {
    // A long text set from the program would otherwise show only its end.
    for (auto* edit : findChildren<QLineEdit*>())
        if (!edit->hasFocus()) edit->setCursorPosition(0);
}
