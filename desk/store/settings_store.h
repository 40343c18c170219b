// The three values the desk keeps on the machine: company ID, language code and
// e-mail. QSettings in its native format: the current user's registry key
// "Software\tpg" itself on Windows, "tpg.conf" in the user's configuration
// folder here (settings_location.h).
#pragma once

#include <QString>

#include <optional>

class SettingsStore {
public:
    // The current user's "Software\tpg" (nativestorename()).
    SettingsStore();
    // A store kept in the INI file `path` (tests, portable installs).
    explicit SettingsStore(QString path);

    // Value names are matched without regard to case, as the registry does.
    // Nothing when the store or the value does not exist.
    std::optional<QString> read(const QString& name) const;
    // Writes "ID", "LANG" and "EMAIL" at once; false when the store cannot be
    // created or written.
    bool write(const QString& id, const QString& lang, const QString& email);

    bool exists() const;
    enum class ClearResult { NotFound, Cleared, Failed };
    // Removes the whole store.
    ClearResult clear();

    QString location() const;

private:
    QString path_; // empty: native location
};
