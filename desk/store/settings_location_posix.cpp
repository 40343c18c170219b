#include "settings_location.h"

#include <QStandardPaths>

QString nativestorename() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tpg.conf");
}
