// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Environment.h"
#include "platform/SettingsStore.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

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
    // A fresh reader of the settings file, as the next start of the program would see it.
    QString storedValue(const QString& key = QStringLiteral("Searches")) const;
    void storeValue(const QString& value, const QString& key = QStringLiteral("Searches")) const;

    QStringList reports;
    QList<QUrl> openedUrls;
    int homePageDraw = 1;

private:
    QTemporaryDir m_folder;
    std::unique_ptr<SettingsStore> m_settings;
};

// Makes a named pipe that nobody writes: opening it for reading would wait for ever.
void makeNamedPipe(const QString& path);

// The error report for a failure with the given location and label, with any description.
bool isReportFor(const QString& report, const QString& procedure, int label);
