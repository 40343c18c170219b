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

// Texts come from the service and from users: they are shown as written,
// never read as markup ("<b>" stays "<b>", blanks are not collapsed).
void runBox(const QString& text, const QString& caption, MessageIcon icon, bool topmost) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.exec();
}

} // namespace

void QtDeskMessages::showMessage(const QString& text) {
    runBox(text, QApplication::applicationName(), MessageIcon::None, false);
}

void QtDeskMessages::messageBox(const QString& text, const QString& caption, MessageIcon icon) {
    runBox(text, caption, icon, true);
}

void QtDeskMessages::showError(const QString& message) {
    runBox(message, QApplication::applicationName(), MessageIcon::Error, false);
}

std::optional<QString> QtDeskMessages::inputBox(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                         QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}
