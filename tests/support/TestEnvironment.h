// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/desktop/Environment.h"
#include "platform/storage/SettingsStore.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>
#include <optional>

// A world for one test: a temporary application folder and settings file, and recorders in place of the error
// report, the browser and the home-page draw.
class TestEnvironment final
{
public:
    TestEnvironment();

    // The environment to hand to Form1; it records into this object, which must outlive the window.
    Environment environment();

    // Writes a file into the application folder, creating its folders.
    void writeDataFile(const QString& relativeName, const QByteArray& contents) const;
    void writeLocations(const QStringList& lines) const;
    void removeDataFile(const QString& relativeName) const;
    QString dataFilePath(const QString& relativeName) const;

    QString settingsPath() const;
    // The home folder of the program's user, one of this test's own.
    QString homePath() const;
    // A fresh reader of the settings file, as the next start of the program would see it.
    QString storedValue(const QString& key = QStringLiteral("Searches")) const;
    void storeValue(const QString& value, const QString& key = QStringLiteral("Searches")) const;
    // Writes the settings file byte for byte, as a hand or another program might have left it.
    void writeSettingsFile(const QByteArray& contents) const;

    QStringList reports;
    QList<QUrl> openedUrls;
    int homePageDraw = 1;
    // How the dialogs are answered: the text asked for (none for Cancel), yes or no, and the file picked (empty for
    // Cancel). Each question asked, or file dialog shown, is written down by its text or title.
    std::optional<QString> textAnswer;
    bool yesAnswer = false;
    QString fileToSave;
    QString fileToOpen;
    QStringList questions;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<SettingsStore> m_settings;
};

// Writes the file whole, making its folders.
void writeFile(const QString& path, const QByteArray& contents);

// Makes a named pipe that nobody writes: opening it for reading would wait for ever.
void makeNamedPipe(const QString& path);

// Mounts a file system of `bytes` in all on `folder`, in a mount namespace of this process and its children
// alone (which takes root); an empty text when done, else why it could not be.
QString mountSmallDisk(const QString& folder, qint64 bytes);
void unmountSmallDisk(const QString& folder);
// Fills the file system that holds `folder` until only about `bytes` are free.
void fillDiskLeaving(const QString& folder, qint64 bytes);

// Limits this process's address space to what it uses now and `bytes` more, while it lives (on Unix).
class AddressSpaceLimit final
{
public:
    explicit AddressSpaceLimit(qint64 bytes);
    ~AddressSpaceLimit();
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    qint64 m_before[2] = {}; // the soft and hard limits as they were
};

// The error report for a failure with the given location and label, with any description.
bool isReportFor(const QString& report, const QString& procedure, int label);

class Form1;
// Waits until the filter has rebuilt the location list for the keys typed: the program takes the keys waiting,
// then rebuilds once it is back in its event loop.
void letTheFilterCatchUp(const Form1& window);

// Has Qt send accessibility events as it does while a screen reader listens, so that a test's update handler hears
// them; false where this build cannot (then the test skips).
bool listenAsAScreenReader();

#if defined(Q_OS_UNIX)
// Whether the signal is in the process's mask of that name (SigCgt: a handler of its own; SigIgn: ignored), as
// the kernel reports it.
bool hasSignalIn(const QByteArray& mask, qint64 pid, int signal);
bool catchesSignal(qint64 pid, int signal);
// Whether the program has set up all its signals as it starts, just before its window is shown: then it is up
// (past its one-window guard, which listens for later starts), and a mask read afterwards no longer changes.
bool signalsSetUp(qint64 pid);
// Writes into `folder` an `xdg-open` that opens nothing and succeeds, for the real program to find on its PATH
// in place of the desktop's: the home page it opens now and then would otherwise wait on a report nobody closes.
void writeStandInOpener(const QString& folder);
#endif
