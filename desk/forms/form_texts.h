// Initial texts of the settings form that the program compares against.
#pragma once

#include <QString>

inline const QString kIdPlaceholder = QStringLiteral("9999999999");
inline const QString kEmailPlaceholder = QStringLiteral("your.name@example.com");
