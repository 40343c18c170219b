// The small window in which the user types the QR numbers to generate. It is
// built in code rather than from a form file because its few elements sit at
// fixed places that users know from earlier versions.
#pragma once

#include "company_profile.h"

#include <QDialog>
#include <QStringList>

#include <optional>

class DeskMessages;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class QrNumbersDialog final : public QDialog {
    Q_OBJECT

public:
    // The text box starts with the list the profile remembers; OK writes the
    // typed text back there, valid or not, so that it is offered again.
    QrNumbersDialog(TCompanyProfile& profile, DeskMessages& messages, QWidget* parent = nullptr);

    // The numbers of the last input that OK accepted.
    const QStringList& numbers() const { return numbers_; }
    bool inputAccepted() const { return accepted_; }

    QPlainTextEdit* textBox() const { return text_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* checkButton() const { return check_; }
    QPushButton* closeButton() const { return close_; }

public slots:
    void BtnOKZadajStolyClick();
    void BtnSkontrolujClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TCompanyProfile& profile_;
    DeskMessages& messages_;
    QPlainTextEdit* text_;
    QLabel* label_;
    QPushButton* ok_;
    QPushButton* check_;
    QPushButton* close_;
    QStringList numbers_;
    bool accepted_ = false;
};

// Shows the dialog modally. The parsed numbers when the user closed it with OK
// after a valid input; nothing when the user closed or cancelled it.
std::optional<QStringList> askqrnumbers(TCompanyProfile& profile, DeskMessages& messages,
                                        QWidget* parent = nullptr);
