// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

TestEnvironment::TestEnvironment()
{
    QVERIFY(m_folder.isValid());
    QDir(m_folder.path()).mkpath(QStringLiteral("program"));
}

Environment TestEnvironment::environment()
{
    Environment environment;
    environment.applicationFolder = m_folder.filePath(QStringLiteral("program"));
    environment.showErrorReport = [this](QWidget*, const QString& text) { reports.append(text); };
    environment.openUrl = [this](const QUrl& address) { openedUrls.append(address); };
    environment.drawHomePageNumber = [this] { return homePageDraw; };
    // Each window gets a store of its own, as each run of the program does.
    m_settings = std::make_unique<SettingsStore>(settingsPath());
    environment.settings = [this]() -> SettingsStore& { return *m_settings; };
    return environment;
}

QString TestEnvironment::dataFilePath(const QString& relativeName) const
{
    return m_folder.filePath(QStringLiteral("program/") + relativeName);
}

void TestEnvironment::writeDataFile(const QString& relativeName, const QByteArray& contents) const
{
    const QString path = dataFilePath(relativeName);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(contents), contents.size());
}

void TestEnvironment::writeLocations(const QStringList& lines) const
{
    QByteArray contents;
    for (const QString& line : lines)
        contents += line.toLocal8Bit() + '\n';
    writeDataFile(QStringLiteral("list.txt"), contents);
}

void TestEnvironment::removeDataFile(const QString& relativeName) const
{
    QVERIFY(QFile::remove(dataFilePath(relativeName)));
}

QString TestEnvironment::settingsPath() const
{
    return m_folder.filePath(QStringLiteral("settings/searches.ini"));
}

QString TestEnvironment::storedValue(const QString& key) const
{
    return QSettings(settingsPath(), QSettings::IniFormat).value(key).toString();
}

void TestEnvironment::storeValue(const QString& value, const QString& key) const
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    QCOMPARE(settings.status(), QSettings::NoError);
}

void makeNamedPipe(const QString& path)
{
#if defined(Q_OS_UNIX)
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#else
    QFAIL(qPrintable(QStringLiteral("There are no named pipes here to make %1 with.").arg(path)));
#endif
}

bool isReportFor(const QString& report, const QString& procedure, int label)
{
    return report.contains(
        QStringLiteral("\r\nin BazaarlySearch2017/04/05.Form1.%1 at line %2\r\r").arg(procedure).arg(label));
}
