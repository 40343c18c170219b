// Where the desk keeps its three values when no file is named: the current
// user's registry key "Software\tpg" itself on Windows, the INI file
// "tpg.conf" in the user's configuration folder elsewhere (where the desk
// has always kept it). One source file per system provides it.
#pragma once

#include <QString>

// The registry key, as QSettings names one in its native format.
inline const QString kRegistryStoreKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\tpg");

// The name to give QSettings with QSettings::NativeFormat.
QString nativestorename();
