// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/ProgramNames.h"
#include "ui/Form1.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSettings>
#include <QTest>
#include <QTimer>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif
#if defined(Q_OS_LINUX)
#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#endif

TestEnvironment::TestEnvironment()
{
    QVERIFY(m_folder.isValid());
    QDir(m_folder.path()).mkpath(QStringLiteral("program"));
    QDir(m_folder.path()).mkpath(QStringLiteral("home"));
}

QString TestEnvironment::homePath() const
{
    return m_folder.filePath(QStringLiteral("home"));
}

Environment TestEnvironment::environment()
{
    Environment environment;
    environment.applicationFolder = m_folder.filePath(QStringLiteral("program"));
    environment.showErrorReport = [this](QWidget*, const QString& text) { reports.append(text); };
    environment.openUrl = [this](const QUrl& address, QObject&, const OpeningDone& done) {
        openedUrls.append(address);
        done(std::nullopt);
    };
    environment.drawHomePageNumber = [this] { return homePageDraw; };
    // Each window gets a store of its own, as each run of the program does.
    // A list that cannot be saved may go to the home folder: never the real one.
    m_settings = std::make_unique<SettingsStore>(settingsPath(), homePath(), ProgramNames::settingsStore());
    environment.settings = [this]() -> SettingsStore& { return *m_settings; };
    environment.askText = [this](QWidget*, const QString&, const QString& label) {
        questions.append(label);
        return textAnswer;
    };
    environment.askYesNo = [this](QWidget*, const QString&, const QString& question) {
        questions.append(question);
        return yesAnswer;
    };
    environment.chooseFileToSave = [this](QWidget*, const QString& title, const QString&) {
        questions.append(title);
        return fileToSave;
    };
    environment.chooseFileToOpen = [this](QWidget*, const QString& title) {
        questions.append(title);
        return fileToOpen;
    };
    return environment;
}

QString TestEnvironment::dataFilePath(const QString& relativeName) const
{
    return m_folder.filePath(QStringLiteral("program/") + relativeName);
}

void TestEnvironment::writeDataFile(const QString& relativeName, const QByteArray& contents) const
{
    writeFile(dataFilePath(relativeName), contents);
}

void TestEnvironment::writeSettingsFile(const QByteArray& contents) const
{
    writeFile(settingsPath(), contents);
}

void writeFile(const QString& path, const QByteArray& contents)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
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

QString mountSmallDisk(const QString& folder, qint64 bytes)
{
#if defined(Q_OS_LINUX)
    static const QString separateMounts = [] {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return QStringLiteral("No mount namespace of its own: %1.")
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return QString();
    }();
    if (!separateMounts.isEmpty())
        return separateMounts;
    const QByteArray options = "size=" + QByteArray::number(bytes);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        return QStringLiteral("No tmpfs: %1.").arg(QString::fromLocal8Bit(std::strerror(errno)));
    return QString();
#else
    Q_UNUSED(folder)
    Q_UNUSED(bytes)
    return QStringLiteral("Mounting a file system is done on Linux only.");
#endif
}

void unmountSmallDisk(const QString& folder)
{
#if defined(Q_OS_LINUX)
    QVERIFY(::umount(QFile::encodeName(folder).constData()) == 0);
#else
    Q_UNUSED(folder)
#endif
}

void fillDiskLeaving(const QString& folder, qint64 bytes)
{
#if defined(Q_OS_UNIX)
    struct statvfs disk = {};
    QVERIFY(::statvfs(QFile::encodeName(folder).constData(), &disk) == 0);
    const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
    QVERIFY(free > bytes);
    QFile filler(folder + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(filler.write(QByteArray(free - bytes, 'f')), free - bytes);
#else
    Q_UNUSED(folder)
    Q_UNUSED(bytes)
    QFAIL("There is no disk to fill here.");
#endif
}

AddressSpaceLimit::AddressSpaceLimit(qint64 bytes)
{
#if defined(Q_OS_UNIX)
    rlimit limit = {};
    QVERIFY(::getrlimit(RLIMIT_AS, &limit) == 0);
    m_before[0] = qint64(limit.rlim_cur);
    m_before[1] = qint64(limit.rlim_max);
    QFile status(QStringLiteral("/proc/self/statm")); // the size in pages comes first
    QVERIFY(status.open(QIODevice::ReadOnly));
    limit.rlim_cur = rlim_t(status.readAll().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE) + bytes);
    QVERIFY(::setrlimit(RLIMIT_AS, &limit) == 0);
#else
    Q_UNUSED(bytes)
#endif
}

AddressSpaceLimit::~AddressSpaceLimit()
{
#if defined(Q_OS_UNIX)
    const rlimit limit = {rlim_t(m_before[0]), rlim_t(m_before[1])};
    ::setrlimit(RLIMIT_AS, &limit);
#endif
}

bool isReportFor(const QString& report, const QString& procedure, int label)
{
    return report.contains(
        QStringLiteral("\r\nin BazaarlySearch2017/04/05.Form1.%1 at line %2\r\r").arg(procedure).arg(label));
}

#if defined(Q_OS_LINUX)
// Qt sends accessibility events only while its platform's accessibility is active, which off screen it never is;
// Qt's own tests switch it on through the platform interface. These are the two members of it that they use,
// exported by Qt's shared GUI library, declared here since their headers are not installed.
class QPlatformAccessibility
{
public:
    void setActive(bool active);
};
class QPlatformIntegration
{
public:
    QPlatformAccessibility* accessibility() const; // the one the off-screen platform inherits
};
class QGuiApplicationPrivate
{
public:
    static QPlatformIntegration* platform_integration;
};

bool listenAsAScreenReader()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return false;
    QGuiApplicationPrivate::platform_integration->accessibility()->setActive(true);
    return QAccessible::isActive();
}
#else
bool listenAsAScreenReader()
{
    return false;
}
#endif

void letTheFilterCatchUp(const Form1& window)
{
    QCoreApplication::sendPostedEvents();
    const auto* rebuild = window.findChild<QTimer*>(QStringLiteral("filterRebuild"));
    QVERIFY(rebuild != nullptr);
    QTRY_VERIFY(!rebuild->isActive());
}

#if defined(Q_OS_UNIX)
bool hasSignalIn(const QByteArray& mask, qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(mask + ':'))
            return (line.mid(mask.size() + 1).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

bool catchesSignal(qint64 pid, int signal)
{
    return hasSignalIn("SigCgt", pid, signal);
}

// The first and the last signal it handles and the one it ignores, in whatever order it sets them up.
bool signalsSetUp(qint64 pid)
{
    return catchesSignal(pid, SIGTERM) && catchesSignal(pid, SIGRTMAX) && hasSignalIn("SigIgn", pid, SIGPIPE);
}

void writeStandInOpener(const QString& folder)
{
    QFile opener(folder + QStringLiteral("/xdg-open"));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nexit 0\n");
    opener.close();
    QVERIFY(opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}
#endif
