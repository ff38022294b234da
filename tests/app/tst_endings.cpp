#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Every way of being asked to end saves the search list, through the real program.
class tst_Endings : public QObject
{
    Q_OBJECT

private slots:
    void terminationSignalSavesTheList_data();
    void terminationSignalSavesTheList();
};

// Whether the process has a handler of its own for the signal, as the kernel reports it.
static bool catchesSignal(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    }
    return false;
}

void tst_Endings::terminationSignalSavesTheList_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void tst_Endings::terminationSignalSavesTheList()
{
    QFETCH(int, signal);
    QTemporaryDir home;
    const QString settingsPath =
        home.filePath(QStringLiteral("Quillmark/Bazaarly Lookup Across Many Towns Utility.conf"));
    {
        // Stored by hand without the final bar: the program restores both items and writes them back with it,
        // so the value changes only if the program really saved.
        QSettings settings(settingsPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), QStringLiteral("bike site:albany.bazaarly.org|desk site:x"));
    }
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BAZAARLY_EXECUTABLE), {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(program.processId(), signal), 10000);
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(QSettings(settingsPath, QSettings::IniFormat).value(QStringLiteral("Searches")).toString(),
             QStringLiteral("bike site:albany.bazaarly.org|desk site:x|"));
}

QTEST_GUILESS_MAIN(tst_Endings)
#include "tst_endings.moc"
