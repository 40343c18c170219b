// tpgdesk entry: the service form and the settings form, start-up, then the
// tray and its service loop until the application ends.
#include "browser_opener.h"
#include "desk_clock.h"
#include "desk_config.h"
#include "messages.h"
#include "print_wiring.h"
#include "qr_form_wiring.h"
#include "settings_store.h"
#include "tform1.h"
#include "tform2.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TablePing"));
    // The service form stays hidden and the settings form comes and goes: the
    // tray alone keeps the application alive.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDeskMessages messages;
    SettingsStore store;
    SystemDeskClock clock;
    TForm1 settings(DeskConfig::load(), messages, store);
    QtBrowserOpener browser;
    connectQrActions(settings, browser);
    connectPrintQr(settings);
    TForm2 service(settings, messages, clock);

    if (!service.checkinit(QApplication::arguments())) return 0;
    service.traysteps();
    return QApplication::exec();
}
