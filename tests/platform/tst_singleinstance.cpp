// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/ProgramNames.h"
#include "platform/process/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

// The one-window guard: nothing that no running program holds keeps a start out, nothing that stands in the
// lock's place lets a second window run on the same list, and no start waits past its limit. The first copy is
// the real program, off screen; the later starts are the guard itself, with a short limit. (Every spelling of the
// path meeting at one lock, and peers that say nothing, are tried with the real program in tst_endings.)
class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void lockThatNoProgramHoldsIsTakenOver_data();
    void lockThatNoProgramHoldsIsTakenOver();
    void eachStartSeesOneOutcomeWithinItsLimit_data();
    void eachStartSeesOneOutcomeWithinItsLimit();

private:
    QString settingsFile() const { return m_folder->filePath(QStringLiteral("config/Quillmark/settings.conf")); }
    QString lockPath() const { return settingsFile() + QLatin1String(".instance"); }

    std::unique_ptr<QTemporaryDir> m_folder;
    QTemporaryDir m_tools; // a stand-in for the desktop's opener, for the home page now and then
};

// Where a start looks: its settings folder (XDG_CONFIG_HOME) and its runtime folder.
struct Place
{
    QString configHome;
    QString runtime;
};
using SetUp = std::function<QString(Place&)>; // an empty text, or why the row cannot be tried here

static constexpr std::chrono::milliseconds kLimit = 1000ms;  // the program's is three times as long
static constexpr std::chrono::milliseconds kUnansweredLimit = 200ms; // a copy that never answers takes it all
static constexpr std::chrono::milliseconds kMargin = 1000ms; // for a machine busy with other work
static const QString kStoredByHand = QStringLiteral("bike site:albany.bazaarly.org|desk site:x");

static QString settingsFileIn(const Place& place)
{
    return ProgramNames::settingsFileIn(place.configHome);
}

static QString storedIn(const Place& place)
{
    return QSettings(settingsFileIn(place), QSettings::IniFormat).value(QStringLiteral("Searches")).toString();
}

static void storeIn(const Place& place)
{
    QSettings settings(settingsFileIn(place), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Searches"), kStoredByHand);
    settings.sync();
}

void tst_SingleInstance::initTestCase()
{
    writeStandInOpener(m_tools.path());
}

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
               const InstanceLock ended(path.chopped(int(strlen(".instance"))), ProgramNames::kSharedFilePrefix,
                                        QDeadlineTimer(kLimit));
               return ended.state() == InstanceLock::State::Ours;
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
    const InstanceLock lock(settingsFile(), ProgramNames::kSharedFilePrefix, QDeadlineTimer(kLimit));
    QCOMPARE(lock.state(), InstanceLock::State::Ours);
    QVERIFY(QFileInfo(lockPath()).isFile());
    QVERIFY(!QFileInfo(lockPath()).isSymLink());
}

// What stands in the lock's place, made after the stored list.
static SetUp inTheLocksPlace(const std::function<bool(const QString& lock, const QString& settings)>& make)
{
    return [make](Place& place) {
        storeIn(place);
        const QString settings = settingsFileIn(place);
        return make(settings + QLatin1String(".instance"), settings) ? QString() : QStringLiteral("Not made.");
    };
}

// The settings folder on a disk of its own, which `then` changes once the list is stored.
static SetUp onADiskOfItsOwn(const std::function<QString(const QString& disk)>& then)
{
    return [then](Place& place) {
        place.configHome += QLatin1String("/disk");
        QDir().mkpath(place.configHome);
        const QString why = mountSmallDisk(place.configHome, 256 * 1024);
        if (!why.isEmpty())
            return why;
        storeIn(place);
        return then(place.configHome);
    };
}

void tst_SingleInstance::eachStartSeesOneOutcomeWithinItsLimit_data()
{
    QTest::addColumn<SetUp>("setUp");
    QTest::addColumn<SingleInstance::Outcome>("firstSees");
    QTest::addColumn<bool>("firstStopped");
    QTest::addColumn<int>("laterStarts");
    QTest::addColumn<SingleInstance::Outcome>("laterSees");
    QTest::addColumn<bool>("keptAside"); // what stood in the lock's place is kept beside it
    QTest::addColumn<std::chrono::milliseconds>("limit");
    using Outcome = SingleInstance::Outcome;
    const SetUp storedList = [](Place& place) {
        storeIn(place);
        return QString();
    };

    QTest::newRow("a lock and a socket left by a copy that was killed: one window, a later start hands over")
        << inTheLocksPlace([](const QString& lock, const QString&) {
               QFile left(lock);
               return left.open(QIODevice::WriteOnly) &&
                      ::mknod(QFile::encodeName(lock + QLatin1String(".socket")).constData(), S_IFSOCK | 0600, 0) == 0;
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << false << kLimit;
    QTest::newRow("a folder with contents in the lock's place is moved aside: one window, a later start hands over")
        << inTheLocksPlace(
               [](const QString& lock, const QString&) { return QDir().mkpath(lock + QLatin1String("/sub")); })
        << Outcome::Window << false << 2 << Outcome::HandedOver << true << kLimit;
    QTest::newRow("a link to the list in the lock's place is moved aside: one window, a later start hands over")
        << inTheLocksPlace([](const QString& lock, const QString& settings) { return QFile::link(settings, lock); })
        << Outcome::Window << false << 2 << Outcome::HandedOver << true << kLimit;
    QTest::newRow("a second name of the list in the lock's place leaves the list whole, and one window")
        << inTheLocksPlace([](const QString& lock, const QString& settings) {
               return ::link(QFile::encodeName(settings).constData(), QFile::encodeName(lock).constData()) == 0;
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << true << kLimit;
    QTest::newRow("another user's file of no access in the lock's place is moved aside: one window")
        << inTheLocksPlace([](const QString& lock, const QString&) {
               QFile file(lock);
               return file.open(QIODevice::WriteOnly) && file.setPermissions({}) &&
                      ::chown(QFile::encodeName(lock).constData(), 65534, 65534) == 0;
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << true << kLimit;
    QTest::newRow("a runtime folder too long for a socket's address: a later start hands over")
        << SetUp([](Place& place) {
               storeIn(place);
               place.runtime += QLatin1Char('/') + QString(110 - place.runtime.size() - 1, QLatin1Char('r'));
               return QDir().mkpath(place.runtime) ? QString() : QStringLiteral("No runtime folder.");
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << false << kLimit;
    QTest::newRow("a settings folder too long for a socket's address: a later start hands over")
        << SetUp([](Place& place) {
               place.configHome += QLatin1Char('/') + QString(120, QLatin1Char('c'));
               storeIn(place);
               return QString();
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << false << kLimit;
    QTest::newRow("a full disk under the settings folder: a later start hands over")
        << onADiskOfItsOwn([](const QString& disk) {
               fillDiskLeaving(disk, 0);
               return QString();
           })
        << Outcome::Window << false << 2 << Outcome::HandedOver << false << kLimit;
    QTest::newRow("a first copy that does not answer: each of a dozen starts says so in a box, and ends")
        << storedList << Outcome::Window << true << 12 << Outcome::Unanswered << false << kUnansweredLimit;
    QTest::newRow("a settings folder that cannot be written: each start says so in a box, then shows its window")
        << onADiskOfItsOwn([](const QString& disk) {
               const int remounted =
                   ::mount(nullptr, QFile::encodeName(disk).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
               return remounted == 0 ? QString() : QStringLiteral("Not remounted read-only.");
           })
        << Outcome::UnguardedWindow << false << 2 << Outcome::UnguardedWindow << false << kLimit;
}

// A later start's outcome, what it tells the user and how long it took: what the user of the real program sees,
// for main() shows its window, or a report of why() and then its window, or ends, as the outcome says.
void tst_SingleInstance::eachStartSeesOneOutcomeWithinItsLimit()
{
    QFETCH(SetUp, setUp);
    QFETCH(SingleInstance::Outcome, firstSees);
    QFETCH(bool, firstStopped);
    QFETCH(int, laterStarts);
    QFETCH(SingleInstance::Outcome, laterSees);
    QFETCH(bool, keptAside);
    QFETCH(std::chrono::milliseconds, limit);
    Place place{m_folder->filePath(QStringLiteral("config")), m_folder->filePath(QStringLiteral("runtime"))};
    QVERIFY(QDir().mkpath(place.runtime));
    QVERIFY(QDir().mkpath(place.configHome));
    const QString skip = setUp(place);
    if (!skip.isEmpty())
        QSKIP(qPrintable(skip));
    const bool onItsOwnDisk = place.configHome.endsWith(QLatin1String("/disk"));

    QProcess first;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), place.configHome);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), place.runtime);
    environment.insert(QStringLiteral("HOME"), m_folder->path());
    environment.insert(QStringLiteral("PATH"),
                       m_tools.path() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(BAZAARLY_EXECUTABLE), {});
    QVERIFY(first.waitForStarted());
    QByteArray said;
    if (firstSees == SingleInstance::Outcome::Window)
        QTRY_VERIFY_WITH_TIMEOUT(signalsSetUp(first.processId()), 20000);
    else // its report is up, before its window
        QTRY_VERIFY_WITH_TIMEOUT((said += first.readAllStandardError()).contains("cannot make sure"), 20000);
    if (firstStopped)
        QCOMPARE(::kill(pid_t(first.processId()), SIGSTOP), 0);

    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(place.runtime));
    for (int start = 0; start < laterStarts; ++start) {
        QElapsedTimer timer;
        timer.start();
        SingleInstance later(settingsFileIn(place), ProgramNames::kSharedFilePrefix, limit);
        const SingleInstance::Outcome outcome = later.settle();
        const qint64 took = timer.elapsed();
        QCOMPARE(outcome, laterSees);
        QVERIFY2(took < (limit + kMargin).count(), qPrintable(QStringLiteral("%1 ms").arg(took)));
        if (outcome != SingleInstance::Outcome::HandedOver)
            QVERIFY(!later.why().isEmpty());
    }

    if (firstStopped)
        QCOMPARE(::kill(pid_t(first.processId()), SIGCONT), 0);
    if (firstSees == SingleInstance::Outcome::Window) {
        // The one window there was saves the list, which nothing else wrote meanwhile.
        QCOMPARE(storedIn(place), kStoredByHand);
        QCOMPARE(first.state(), QProcess::Running);
        QFile::remove(place.configHome + QLatin1String("/filler")); // room for the save on a full disk
        QCOMPARE(::kill(pid_t(first.processId()), SIGTERM), 0);
        QVERIFY(first.waitForFinished(20000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(storedIn(place), kStoredByHand + QLatin1Char('|'));
    } else {
        first.kill();
        first.waitForFinished();
    }
    const QDir settingsFolder = QFileInfo(settingsFileIn(place)).dir();
    QCOMPARE(!settingsFolder.entryList({QStringLiteral("*.instance.in-the-way-*")}, QDir::AllEntries | QDir::System)
                  .isEmpty(),
             keptAside);
    if (onItsOwnDisk)
        unmountSmallDisk(place.configHome);
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
