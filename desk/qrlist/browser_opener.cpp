#include "browser_opener.h"

#include <QDesktopServices>

void QtBrowserOpener::open(const QUrl& address) {
    QDesktopServices::openUrl(address);
}
