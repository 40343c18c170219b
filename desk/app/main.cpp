// tpgdesk entry: the settings side of start-up. Registration when no company
// ID is stored, completion of an incomplete profile, "/SET" for editing, and
// "/CLEARREGISTER <password>" to clear the settings store.
#include "desk_config.h"
#include "messages.h"
#include "settings_store.h"
#include "tform1.h"
#include "tform1_controls.h"

#include <QApplication>

namespace {

const QString kClearPassword = QStringLiteral("Vintor58");

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TablePing"));
    const QStringList args = QApplication::arguments();
    const QString first = args.value(1);

    QtDeskMessages messages;
    SettingsStore store;
    TForm1 form(DeskConfig::load(), messages, store);

    if (first == QLatin1String("/CLEARREGISTER") && args.value(2) == kClearPassword) {
        form.cistiregister();
        return 0;
    }

    const QString id = form.citajregister();
    const QString email = form.profile().email;
    if (id.trimmed().isEmpty()) {
        form.exec();
        return 0;
    }
    if (!form.citajsqlcompleted(id)) {
        form.ui()->LabeledEdit1->setText(id);
        form.ui()->LabeledEdit14->setText(email);
        form.citajsqlx(id);
        form.nahrajform1();
        form.exec();
        return 0;
    }
    form.citajsqlx(id);
    form.nahrajjazyk(form.profile().lang);
    if (first == QLatin1String("/SET")) {
        form.setFormCaption(QStringLiteral("Setting parameres"));
        form.nahrajform1();
        form.exec();
        if (form.applicationEnded()) return 0;
    }
    return 0;
}
