#pragma once

#include <QString>

#include <memory>

class QSettings;

// The per-user settings store: text values under the program's maker and section. Natively the registry on
// Windows and an INI file in the user's configuration folder elsewhere; tests point it at a file of their own.
class SettingsStore final
{
public:
    // The user's own store.
    SettingsStore();
    // A store kept in the INI file at `path`.
    explicit SettingsStore(const QString& path);
    ~SettingsStore();

    // The value under `key`; the empty text when absent. A Failure when the store cannot be read or the value
    // is not text.
    QString readText(const QString& key) const;
    // Writes the value and waits until it is stored; a Failure when it could not be.
    void writeText(const QString& key, const QString& value);

    QString location() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
