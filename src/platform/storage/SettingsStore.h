// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

#include <memory>

class PreviousFile;
class QLockFile;
class RawSettingsFile;

// The names a program gives its store: the user's own is found by the maker's name and the program's section
// under it, and a copy kept of what it holds is named after it with the copy suffix (then "-2", "-3", ...).
struct SettingsStoreNames
{
    QString maker;
    QString section;
    QString copySuffix;
};

// The per-user settings store: text values under the program's maker and section. Natively the registry on
// Windows and an INI file in the user's configuration folder elsewhere; tests point it at a file of their own.
// Every read and every write stands on its own: each opens the store afresh and is judged by its own outcome,
// and only the program's own file (or key) is read, never the maker-wide or system-wide ones beside it.
class SettingsStore final
{
public:
    // The user's own store.
    explicit SettingsStore(const SettingsStoreNames& names);
    // A store kept in the INI file at `path`, with the user's home folder, or another, as the last place for a
    // list that cannot be stored.
    SettingsStore(const QString& path, const SettingsStoreNames& names);
    SettingsStore(const QString& path, const QString& homeFolder, const SettingsStoreNames& names);
    // The file of the user's own store in the configuration folder `configFolder` (XDG_CONFIG_HOME), on Linux and
    // the other Unix systems but macOS.
    static QString userFileIn(const QString& configFolder, const SettingsStoreNames& names);

    // The value under `key`; the empty text when absent. A Failure when the store cannot be read or the value
    // is not text; std::bad_alloc, before anything is decoded, when there is not the memory to decode it.
    QString readText(const QString& key);
    // Writes the value and waits until it is stored; a Failure when it could not be, or when the store stays
    // locked for more than a few seconds. The save is judged by reading the value back: one cut short leaves
    // the store as it was.
    void writeText(const QString& key, const QString& value);
    // Keeps a copy of what is stored under `key` where the user can find it, before it is replaced, and says
    // where; a Failure when no copy could be made.
    QString keepCopy(const QString& key);

    // How long a write waits for the lock beside the file, and how old a lock must be to be taken for one left
    // behind by a program that died while writing (or an empty one, never written); tests shorten them.
    void setLockTimes(int waitMs, int staleMs);

    QString location() const;
    // Where a list that cannot be stored is written instead: beside the store's file (none for the registry),
    // then the home folder.
    QStringList recoveryFolders() const;

private:
    std::unique_ptr<QSettings> open() const;
    void checkFileCanBeOpened() const;
    std::unique_ptr<QLockFile> takeTheLock() const;
    RawSettingsFile checkFileCanBeDecoded(const QString& key) const;
    void startAfreshIfItCannotBeDecoded(const QString& key);
    bool holds(const QString& key, const QString& value) const;
    bool writeUsualFile(const QString& key, const QString& value);
    bool replaceFile(const QByteArray& contents) const;
    [[noreturn]] void failWrite(PreviousFile* previous, bool refused) const;

    SettingsStoreNames m_names;
    QSettings::Format m_format;
    // What the store is opened by: the file on Linux and for a store of the tests' own, the registry key on
    // Windows, empty on macOS (its preferences are found by maker and section).
    QString m_path;
    // The file that holds the store, where it is a file the program opens itself; empty otherwise.
    QString m_file;
    QString m_homeFolder;
    // QSettings waits for its lock for as long as it takes, forever if the lock can never be taken (a folder in its
    // place, a folder the user cannot write): a write gives up after a few seconds instead.
    int m_lockWaitMs = 3000;
    int m_staleLockMs = 2000;
    // Whether keepCopy() has copied the file, so that it may be replaced whatever it holds.
    bool m_fileCopied = false;
    // Whether the file last read was one QSettings could make nothing of.
    bool m_readNoSettingsFile = false;
};
