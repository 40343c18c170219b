#include "messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void runBox(const QString& text, const QString& caption, MessageIcon icon, bool topmost) {
    QMessageBox box(toQt(icon), caption.isEmpty() ? QApplication::applicationName() : caption, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    if (topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

} // namespace

void QtDeskMessages::showMessage(const QString& text) {
    runBox(text, QString(), MessageIcon::None, false);
}

void QtDeskMessages::messageBox(const QString& text, const QString& caption, MessageIcon icon) {
    runBox(text, caption, icon, true);
}

void QtDeskMessages::showError(const QString& message) {
    runBox(message, QString(), MessageIcon::Error, false);
}

std::optional<QString> QtDeskMessages::inputBox(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                         QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}
