// Where the settings store lives when no file is named: the key "Software\tpg"
// itself on Windows, and here the file the desk has always used.
#include "settings_location.h"
#include "settings_store.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DeskSettingsLocation, TheStoreNamesItsKeyAndKeepsItsFile) {
    EXPECT_EQ(kRegistryStoreKey, QStringLiteral("HKEY_CURRENT_USER\\Software\\tpg"));
#ifdef Q_OS_WIN
    EXPECT_EQ(nativestorename(), kRegistryStoreKey);
#else
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    // The file of the organisation-only settings, as earlier versions wrote it.
    const QString earlier =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tpg")).fileName();
    EXPECT_EQ(earlier, home.filePath("tpg.conf"));
    SettingsStore store;
    EXPECT_EQ(store.location(), earlier);
    ASSERT_TRUE(store.write("12345", "SK", "a@b.sk"));
    EXPECT_EQ(QSettings(earlier, QSettings::IniFormat).value("ID").toString(), "12345");
    EXPECT_EQ(store.read("id").value_or(""), "12345");
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
#endif
}
