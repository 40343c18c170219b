#include "settings_store.h"

#include "settings_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

std::unique_ptr<QSettings> open(const QString& path) {
    if (path.isEmpty())
        return std::make_unique<QSettings>(nativestorename(), QSettings::NativeFormat);
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace

SettingsStore::SettingsStore() = default;

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

QString SettingsStore::location() const {
    return open(path_)->fileName();
}

std::optional<QString> SettingsStore::read(const QString& name) const {
    auto s = open(path_);
    if (s->status() != QSettings::NoError) return std::nullopt;
    const QStringList keys = s->childKeys();
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            const QVariant v = s->value(key);
            // An unquoted INI value with commas reads as a list; it is still one text.
            if (v.userType() == QMetaType::QStringList)
                return v.toStringList().join(QLatin1Char(','));
            return v.toString();
        }
    }
    return std::nullopt;
}

bool SettingsStore::write(const QString& id, const QString& lang, const QString& email) {
    auto s = open(path_);
    if (s->status() != QSettings::NoError || !s->isWritable()) return false;
    const std::pair<const char*, const QString*> values[] = {
        {"ID", &id}, {"LANG", &lang}, {"EMAIL", &email}};
    const QStringList existing = s->childKeys();
    for (const auto& [name, value] : values) {
        const QString key = QLatin1String(name);
        // One value per name whatever its spelling, as in the registry.
        for (const QString& old : existing)
            if (old != key && old.compare(key, Qt::CaseInsensitive) == 0) s->remove(old);
        s->setValue(key, *value);
    }
    s->sync();
    return s->status() == QSettings::NoError;
}

bool SettingsStore::exists() const {
    auto s = open(path_);
    const QString file = s->fileName();
    return !s->allKeys().isEmpty() || (QFileInfo(file).isAbsolute() && QFileInfo::exists(file));
}

SettingsStore::ClearResult SettingsStore::clear() {
    if (!exists()) return ClearResult::NotFound;
    auto s = open(path_);
    const QString file = s->fileName();
    const QFileInfo info(file);
    if (info.isAbsolute() && info.exists()) {
        s.reset(); // nothing may write the file back after it is gone
        if (info.isDir() || !QFile::remove(file)) return ClearResult::Failed;
        return ClearResult::Cleared;
    }
    s->clear();
    s->sync();
    return s->status() == QSettings::NoError ? ClearResult::Cleared : ClearResult::Failed;
}
