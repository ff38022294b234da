#include "platform/Failure.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void absentValueReadsAsEmptyText();
    void writtenTextReadsBackExactly_data();
    void writtenTextReadsBackExactly();
    void handWrittenValues_data();
    void handWrittenValues();
    void nonTextValueFails();
    void unwritableStoreFails();
    void malformedLinesElsewhereDoNotStopTheSave();
    void userStoreUsesTheMakerAndSection();

private:
    QString path() const { return m_folder.filePath(QStringLiteral("settings.ini")); }
    QTemporaryDir m_folder;
};

void tst_SettingsStore::absentValueReadsAsEmptyText()
{
    QCOMPARE(SettingsStore(path()).readText(QStringLiteral("Searches")), QString());
}

void tst_SettingsStore::writtenTextReadsBackExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("queries with blanks and commas") << " bike, red site:albany.bazaarly.org|chair  site:x|";
    QTest::newRow("quotes, semicolons and equals signs") << "\"a\";b=c|#d|";
    QTest::newRow("control characters") << QStringLiteral("tab\there|new\nline|bell\a|");
    QTest::newRow("text beyond Latin-1") << QStringLiteral("\u00FCber \u4E2D\u6587 \U0001F600|");
    QTest::newRow("the empty text") << "";
}

void tst_SettingsStore::writtenTextReadsBackExactly()
{
    QFETCH(QString, value);
    SettingsStore(path()).writeText(QStringLiteral("Searches"), value);
    QCOMPARE(SettingsStore(path()).readText(QStringLiteral("Searches")), value);
}

void tst_SettingsStore::handWrittenValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain text") << QByteArray("Searches=lawnmower site:albany.bazaarly.org|")
                                << "lawnmower site:albany.bazaarly.org|";
    QTest::newRow("unquoted commas read as the text written")
        << QByteArray("Searches=red, blue site:x|green,white site:y|") << "red, blue site:x|green, white site:y|";
    QTest::newRow("a byte array") << QByteArray("Searches=@ByteArray(chair site:x|)") << "chair site:x|";
}

void tst_SettingsStore::handWrittenValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, text);
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\n" + line + "\n");
    file.close();
    QCOMPARE(SettingsStore(path()).readText(QStringLiteral("Searches")), text);
}

void tst_SettingsStore::nonTextValueFails()
{
    {
        QSettings settings(path(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), QRect(1, 2, 3, 4));
    }
    QVERIFY_THROWS_EXCEPTION(Failure, SettingsStore(path()).readText(QStringLiteral("Searches")));
}

void tst_SettingsStore::unwritableStoreFails()
{
    // A folder where the settings file should be can be written by nobody, root included.
    const QString blocked = m_folder.filePath(QStringLiteral("blocked.ini"));
    QVERIFY(QDir().mkpath(blocked));
    SettingsStore store(blocked);
    try {
        store.writeText(QStringLiteral("Searches"), QStringLiteral("a|"));
        QFAIL("writing did not fail");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(QDir::toNativeSeparators(blocked)), qPrintable(failure.description()));
    }
}

void tst_SettingsStore::malformedLinesElsewhereDoNotStopTheSave()
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\nSearches=old site:x|\n[broken\n\x01 = = =\n");
    file.close();
    SettingsStore store(path());
    QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("old site:x|"));
    store.writeText(QStringLiteral("Searches"), QStringLiteral("new site:x|"));
    QCOMPARE(SettingsStore(path()).readText(QStringLiteral("Searches")), QStringLiteral("new site:x|"));
}

void tst_SettingsStore::userStoreUsesTheMakerAndSection()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString location = SettingsStore().location();
    QVERIFY2(location.contains(QStringLiteral("Quillmark")), qPrintable(location));
    QVERIFY2(location.contains(QStringLiteral("Bazaarly Lookup Across Many Towns Utility")), qPrintable(location));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
