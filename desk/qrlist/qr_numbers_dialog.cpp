#include "qr_numbers_dialog.h"

#include "messages.h"
#include "qr_list_parser.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

namespace {

constexpr int kTextBoxHeight = 150;

} // namespace

QrNumbersDialog::QrNumbersDialog(TCompanyProfile& profile, DeskMessages& messages, QWidget* parent)
    : QDialog(parent), profile_(profile), messages_(messages), text_(new QPlainTextEdit(this)),
      label_(new QLabel(QStringLiteral("Put your QR number (exp. 1,3,5..8,10):"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      check_(new QPushButton(QStringLiteral("Check - validate"), this)),
      close_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("Input your QR numbers"));
    setModal(true);
    resize(400, 300);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    text_->setGeometry(0, 0, width(), kTextBoxHeight);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    if (!profile_.specialpath.isEmpty()) text_->setPlainText(profile_.specialpath);

    label_->move(10, kTextBoxHeight + 5);
    ok_->setGeometry(40, kTextBoxHeight + 30, 100, ok_->sizeHint().height());
    check_->setGeometry(150, kTextBoxHeight + 30, 100, check_->sizeHint().height());
    close_->setGeometry(260, kTextBoxHeight + 30, 100, close_->sizeHint().height());
    // Enter in the text box starts a new line; it must not press OK.
    ok_->setAutoDefault(false);
    check_->setAutoDefault(false);
    close_->setAutoDefault(false);

    connect(ok_, &QPushButton::clicked, this, &QrNumbersDialog::BtnOKZadajStolyClick);
    connect(check_, &QPushButton::clicked, this, &QrNumbersDialog::BtnSkontrolujClick);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void QrNumbersDialog::BtnOKZadajStolyClick() {
    profile_.specialpath = text_->toPlainText();
    if (parseqrlist(profile_.specialpath, numbers_, messages_)) {
        accepted_ = true;
        accept();
        return;
    }
    messages_.showMessage(QStringLiteral("Invalid input! Please check the format (e.g. 1,3,5..8)"));
}

void QrNumbersDialog::BtnSkontrolujClick() {
    QStringList scratch;
    if (parseqrlist(text_->toPlainText(), scratch, messages_)) {
        messages_.showMessage(QStringLiteral("Input is correct. Numbers of QR codes: ") +
                              QString::number(scratch.size()));
    }
}

void QrNumbersDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    text_->resize(event->size().width(), kTextBoxHeight);
}

std::optional<QStringList> askqrnumbers(TCompanyProfile& profile, DeskMessages& messages,
                                        QWidget* parent) {
    QrNumbersDialog dialog(profile, messages, parent);
    if (dialog.exec() == QDialog::Accepted && dialog.inputAccepted()) return dialog.numbers();
    return std::nullopt;
}
