// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramNames.h"
#include "platform/process/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <functional>
#include <memory>

// The lock that one running program per settings file holds: nothing that no running program holds keeps a
// start out, and the holder tells later starts where it listens. (Every spelling of the path meeting at one lock
// is tried with the real program, in tst_endings.)
class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void lockThatNoProgramHoldsIsTakenOver_data();
    void lockThatNoProgramHoldsIsTakenOver();
    void holderTellsWhereItListens();

private:
    QString settingsFile() const { return m_folder->filePath(QStringLiteral("config/Quillmark/settings.conf")); }
    QString lockPath() const { return settingsFile() + QLatin1String(".instance"); }

    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_SingleInstance::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

void tst_SingleInstance::lockThatNoProgramHoldsIsTakenOver_data()
{
    QTest::addColumn<std::function<bool(const QString&)>>("leaveBehind");
    QTest::newRow("a file left by a program that ended")
        << std::function<bool(const QString&)>([](const QString& path) {
               InstanceLock ended(path.chopped(int(strlen(".instance"))), ProgramNames::kSharedFilePrefix);
               return ended.publish(QStringLiteral("/nowhere/socket"));
           });
    QTest::newRow("an empty folder") << std::function<bool(const QString&)>(
        [](const QString& path) { return QDir().mkpath(path); });
    QTest::newRow("a symbolic link to nothing") << std::function<bool(const QString&)>(
        [](const QString& path) { return QFile::link(path + QLatin1String(".missing"), path); });
    QTest::newRow("a file nobody may read") << std::function<bool(const QString&)>([](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("x") == 1 && file.setPermissions({});
    });
}

void tst_SingleInstance::lockThatNoProgramHoldsIsTakenOver()
{
    QFETCH(std::function<bool(const QString&)>, leaveBehind);
    QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).path()));
    QVERIFY(leaveBehind(lockPath()));
    const InstanceLock lock(settingsFile(), ProgramNames::kSharedFilePrefix);
    QCOMPARE(lock.state(), InstanceLock::State::Ours);
    QVERIFY(QFileInfo(lockPath()).isFile());
    QVERIFY(!QFileInfo(lockPath()).isSymLink());
}

void tst_SingleInstance::holderTellsWhereItListens()
{
    InstanceLock holder(settingsFile(), ProgramNames::kSharedFilePrefix);
    const InstanceLock later(
        settingsFile(),
        ProgramNames::kSharedFilePrefix); // locks are held per open file: this stands for a second start
    QCOMPARE(later.state(), InstanceLock::State::HeldByAnother);
    QCOMPARE(later.holderAddress(), QString()); // not said yet: a later start waits
    QVERIFY(holder.publish(QStringLiteral("/run/user/1000/bazaarly-search-a/socket")));
    QVERIFY(holder.publish(QStringLiteral("/tmp/b/socket"))); // a shorter address replaces a longer one whole
    QCOMPARE(later.holderAddress(), QStringLiteral("/tmp/b/socket"));
    QVERIFY(!InstanceLock(settingsFile(), ProgramNames::kSharedFilePrefix)
                 .publish(QStringLiteral("/tmp/c/socket"))); // only the holder says
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
