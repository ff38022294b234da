// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings store: text values under the program's maker and section. Natively the registry on
// Windows and an INI file in the user's configuration folder elsewhere; tests point it at a file of their own.
// Every read and every write stands on its own: each opens the store afresh and is judged by its own outcome,
// and only the program's own file (or key) is read, never the maker-wide or system-wide ones beside it.
class SettingsStore final
{
public:
    // The user's own store.
    SettingsStore();
    // A store kept in the INI file at `path`.
    explicit SettingsStore(const QString& path);

    // The value under `key`; the empty text when absent. A Failure when the store cannot be read or the value
    // is not text.
    QString readText(const QString& key) const;
    // Writes the value and waits until it is stored; a Failure when it could not be, or when the store stays
    // locked for more than a few seconds.
    void writeText(const QString& key, const QString& value);
    // Keeps a copy of what is stored under `key` where the user can find it, before it is replaced, and says
    // where; a Failure when no copy could be made.
    QString keepCopy(const QString& key);

    QString location() const;

private:
    std::unique_ptr<QSettings> open() const;
    void checkFileCanBeOpened() const;
    void waitForTheLock() const;

    QSettings::Format m_format;
    // What the store is opened by: the file on Linux and for a store of the tests' own, the registry key on
    // Windows, empty on macOS (its preferences are found by maker and section).
    QString m_path;
    // The file that holds the store, where it is a file the program opens itself; empty otherwise.
    QString m_file;
};
