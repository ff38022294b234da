// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "app/ProgramNames.h"
#include "platform/base/Failure.h"
#include "platform/storage/PreviousFile.h"
#include "platform/storage/SettingsFileText.h"
#include "platform/storage/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

#include <filesystem>
#include <new>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void absentValueReadsAsEmptyText();
    void writtenTextReadsBackExactly_data();
    void writtenTextReadsBackExactly();
    void handWrittenValues_data();
    void handWrittenValues();
    void fileIsWrittenAsQSettingsWritesIt_data();
    void fileIsWrittenAsQSettingsWritesIt();
    void fileIsReadAsQSettingsReadsIt_data();
    void fileIsReadAsQSettingsReadsIt();
    void fileInAnotherFormKeepsWhatElseItHolds_data();
    void fileInAnotherFormKeepsWhatElseItHolds();
    void fileChangedSinceTheLastWriteIsReadAgain_data();
    void fileChangedSinceTheLastWriteIsReadAgain();
    void listRewrittenAtTheSameSizeAndTimeIsReadAsItIs();
    void nonTextValueFails_data();
    void nonTextValueFails();
    void halfCharacterIsRefusedForWhatItIs();
    void unwritableStoreFails();
    void malformedLinesElsewhereDoNotStopTheSave();
    void userStoreUsesTheMakerAndSection();
    void userStoreIsFoundByWholePathsOnly_data();
    void userStoreIsFoundByWholePathsOnly();
    void neighbouringFilesAreNeverRead_data();
    void neighbouringFilesAreNeverRead();
    void eachOperationIsJudgedByItsOwnOutcome();
    void storeThatIsNotAFileFailsAtOnce();
    void lockBesideTheStore_data();
    void lockBesideTheStore();
    void copyIsKeptBesideTheStore();
    void previousFileIsPutBackAndLeavesNothing_data();
    void previousFileIsPutBackAndLeavesNothing();
    void saveCutShortLeavesTheStoredValue_data();
    void saveCutShortLeavesTheStoredValue();
    void foreignFileIsAFailedRead_data();
    void foreignFileIsAFailedRead();
    void valueTooLargeForTheMemoryFailsBeforeDecoding();
#ifdef Q_OS_WIN
    void registryValuesOfOtherTypesFailAndStayAsTheyAre_data();
    void registryValuesOfOtherTypesFailAndStayAsTheyAre();
    void registryTextIsStoredExactly();
#endif

private:
    QString path() const
    {
        return m_folder.filePath(QStringLiteral("settings.ini"));
    }
    QString userFolder() const
    {
        return m_user.filePath(QStringLiteral("config"));
    }
    QString systemFolder() const
    {
        return m_user.filePath(QStringLiteral("xdg"));
    }
    QByteArray contents(const QString& file);
    // A file name not used before in this run: QSettings keeps what it read of a file, and gives it again when
    // the file's size and time have not changed.
    QString freshPath()
    {
        return m_folder.filePath(QStringLiteral("fresh-%1.ini").arg(++m_fresh));
    }
    int m_fresh = 0;
    QTemporaryDir m_folder;
    QTemporaryDir m_user;
    // The program's names for its store, which the files named here follow.
    const SettingsStoreNames m_names = ProgramNames::settingsStore();
};

static const QString kKey = QStringLiteral("Searches");
#if defined(Q_OS_WIN)
static const QByteArray kLineEnd = "\r\n";
#else
static const QByteArray kLineEnd = "\n";
#endif
// The file in the form the program's store usually takes, holding `value`.
static QByteArray usual(const QByteArray& value)
{
    return "[General]" + kLineEnd + "Searches=" + value + kLineEnd;
}

void tst_SettingsStore::initTestCase()
{
    // The user's own store, in folders of this test's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolder()));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(systemFolder()));
}

void tst_SettingsStore::init()
{
    // Each test starts without a store, or anything beside it.
    QVERIFY(QDir(m_folder.path()).removeRecursively());
    QVERIFY(QDir().mkpath(m_folder.path()));
}

QByteArray tst_SettingsStore::contents(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file));
    return in.readAll();
}

void tst_SettingsStore::absentValueReadsAsEmptyText()
{
    QCOMPARE(SettingsStore(path(), m_names).readText(QStringLiteral("Searches")), QString());
}

// A text `repeats` times over, with something to escape at the end of each copy, so that escapes fall on every
// place in a block of sixteen characters.
static QString repeated(const QString& text, int repeats)
{
    QString result;
    for (int i = 0; i < repeats; ++i)
        result += text + QString(i % 17, QLatin1Char('a')) + QStringLiteral("\"\\,\t\u00fc");
    return result;
}

void tst_SettingsStore::writtenTextReadsBackExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("queries with blanks and commas") << " bike, red site:albany.bazaarly.org|chair  site:x|";
    QTest::newRow("quotes, semicolons and equals signs") << "\"a\";b=c|#d|";
    QTest::newRow("control characters") << QStringLiteral("tab\there|new\nline|bell\a|");
    QTest::newRow("text beyond Latin-1") << QStringLiteral("\u00FCber \u4E2D\u6587 \U0001F600|");
    QTest::newRow("the empty text") << "";
    QTest::newRow("a first query starting with @") << "@home site:x|@work|";
    QTest::newRow("a NUL, which QSettings stores in a form of its own") << QStringLiteral("a\0b|");
}

void tst_SettingsStore::writtenTextReadsBackExactly()
{
    QFETCH(QString, value);
    SettingsStore(path(), m_names).writeText(kKey, value);
    QCOMPARE(SettingsStore(path(), m_names).readText(kKey), value);
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
    QCOMPARE(SettingsStore(path(), m_names).readText(QStringLiteral("Searches")), text);
}

void tst_SettingsStore::fileIsWrittenAsQSettingsWritesIt_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("written"); // false: left to QSettings
    QTest::newRow("plain queries") << "lawnmower site:albany.bazaarly.org|chair site:x|" << true;
    QTest::newRow("a leading @ is doubled") << "@home site:x|" << true;
    QTest::newRow("@ elsewhere stays single") << "mail a@b site:x|@|" << true;
    QTest::newRow("quotes and backslashes are escaped") << "\"big\" \\ chair|a\\|b|" << true;
    QTest::newRow("control characters with names are escaped by name") << QStringLiteral("\a\b\f\n\r\t\v|") << true;
    QTest::newRow("other control characters are escaped in hex") << QStringLiteral("a\x01|\x1f|\x1b[0m|") << true;
    QTest::newRow("hex digits after a hex escape are escaped too") << QStringLiteral("\x01"
                                                                                     "09afAF|\x02g|\x03"
                                                                                     "0x|")
                                                                   << true;
    QTest::newRow("a comma makes the value quoted") << "red, blue site:x|" << true;
    QTest::newRow("a semicolon makes the value quoted") << "a;b|" << true;
    QTest::newRow("an equals sign makes the value quoted") << "a=b|" << true;
    QTest::newRow("a leading blank makes the value quoted") << " chair|" << true;
    QTest::newRow("a trailing blank makes the value quoted") << "chair |" << true;
    QTest::newRow("a leading tab is escaped, not quoted") << "\tchair|" << true;
    QTest::newRow("DEL is written as it is") << QStringLiteral("a\x7f|") << true;
    QTest::newRow("text beyond ASCII is UTF-8") << QStringLiteral("\u00FCber \u4E2D\u6587 \U0001F600 \u00A0|") << true;
    QTest::newRow("the empty text") << "" << true;
    QTest::newRow("a long text") << repeated(QStringLiteral("used road bike site:x|"), 3000) << true;
    QTest::newRow("a long text quoted") << repeated(QStringLiteral(" a;b|"), 3000) << true;
    QTest::newRow("a NUL") << QStringLiteral("a\0b|") << false;
    QTest::newRow("an unpaired high surrogate") << QString(QChar(0xD800)) + QStringLiteral("a|") << false;
    QTest::newRow("an unpaired low surrogate") << QStringLiteral("a") + QChar(0xDC00) << false;
    QTest::newRow("a byte order mark") << QString(QChar(0xFEFF)) + QStringLiteral("a|") << false;
    QTest::newRow("a noncharacter") << QStringLiteral("a") + QChar(0xFFFF) << false;
}

// The bytes written for a text are QSettings' own, to the byte, and read back as the text.
void tst_SettingsStore::fileIsWrittenAsQSettingsWritesIt()
{
    QFETCH(QString, value);
    QFETCH(bool, written);
    const std::optional<QByteArray> encoded = SettingsFileText::encode(kKey, value);
    QCOMPARE(encoded.has_value(), written);
    if (!written)
        return;
    const QString byQSettings = freshPath();
    QSettings(byQSettings, QSettings::IniFormat).setValue(kKey, value);
    QCOMPARE(*encoded, contents(byQSettings));
    SettingsStore(path(), m_names).writeText(kKey, value);
    QCOMPARE(contents(path()), *encoded);
}

void tst_SettingsStore::fileIsReadAsQSettingsReadsIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("plain text") << usual("lawnmower site:x|");
    QTest::newRow("quoted, with commas and blanks") << usual("\" a, b;c=d \"");
    QTest::newRow("escapes by name") << usual("\\a\\b\\f\\n\\r\\t\\v\\\"\\?\\'\\\\");
    QTest::newRow("hex escapes take every hex digit") << usual("\\x41\\x4a1\\x10000041|");
    QTest::newRow("octal escapes take every octal digit") << usual("\\101\\0\\1018|");
    QTest::newRow("escaped blanks at the ends stay") << usual("\\x20a\\t");
    QTest::newRow("blanks and control characters inside stay") << usual("a \t\x01b");
    QTest::newRow("@@ stands for a text starting with @") << usual("@@home|");
    QTest::newRow("UTF-8") << usual("\xc3\xbc \xe4\xb8\xad \xf0\x9f\x98\x80");
    QTest::newRow("the empty value") << usual("");
    QTest::newRow("the empty value quoted") << usual("\"\"");
    QTest::newRow("quoted without a separator") << usual("\"ab\"");
    QTest::newRow("hex digits escaped after a hex escape") << usual("\\x1\\x61\\x62g\\x1f|");
    QTest::newRow("a hex digit escaped after another character") << usual("\\x1g\\x61|");
    QTest::newRow("a hex digit escaped after a long run of other characters")
        << usual("\\x1ghijklmnopqrstuv\\x61|abcdefghijklmnop");
    QTest::newRow("a hex escape with a leading zero") << usual("\\x01|");
    QTest::newRow("a hex escape in capitals") << usual("\\x1F|");
    QTest::newRow("a character with a name escaped in hex") << usual("\\x9|");
    QTest::newRow("unquoted commas make a list") << usual("a, b");
    QTest::newRow("a leading @ makes an encoded value") << usual("@ByteArray(a)");
    QTest::newRow("a leading @ alone") << usual("@home");
    QTest::newRow("a semicolon starts a comment") << usual("a ;b");
    QTest::newRow("blanks at the end are trimmed") << usual("a  ");
    QTest::newRow("blanks at the start are trimmed") << usual("\ta");
    QTest::newRow("a quote inside") << usual("a\"b");
    QTest::newRow("a backslash at the end") << usual("a\\");
    QTest::newRow("an escape QSettings skips") << usual("a\\qb");
    QTest::newRow("\\x without a digit") << usual("a\\xg");
    QTest::newRow("a continuation line") << usual("a\\" + kLineEnd + "b");
    QTest::newRow("bytes that are not UTF-8") << usual("a\xc3(b");
    QTest::newRow("an overlong form") << usual("\xc0\xaf");
    QTest::newRow("an encoded surrogate") << usual("\xed\xa0\x80");
    QTest::newRow("a byte order mark inside") << usual("a\xef\xbb\xbf");
    QTest::newRow("a NUL byte") << usual(QByteArray("a\0b", 3));
    QTest::newRow("another key after it") << usual("a|") + "Other=1" + kLineEnd;
    QTest::newRow("a comment before it") << ";note" + kLineEnd + usual("a|");
    QTest::newRow("a byte order mark before it") << "\xef\xbb\xbf" + usual("a|");
    QTest::newRow("the key in other letters") << usual("a|").replace("Searches", "searches");
    QTest::newRow("no end to the last line") << usual("a|").chopped(kLineEnd.size());
    QTest::newRow("another section") << usual("a|").replace("General", "Other");
}

// The store reads what QSettings reads, and writing the same back keeps it (a file the program did not write may be
// rewritten in the form QSettings writes).
void tst_SettingsStore::fileIsReadAsQSettingsReadsIt()
{
    QFETCH(QByteArray, file);
    const QString written = freshPath();
    writeFile(written, file);
    const QVariant byQSettings = QSettings(written, QSettings::IniFormat).value(kKey);
    if (byQSettings.typeId() != QMetaType::QString)
        return; // not text: nonTextValueFails
    SettingsStore store(written, m_names);
    QCOMPARE(store.readText(kKey), byQSettings.toString());
    store.writeText(kKey, byQSettings.toString());
    QCOMPARE(SettingsStore(written, m_names).readText(kKey), byQSettings.toString());
}

void tst_SettingsStore::fileInAnotherFormKeepsWhatElseItHolds_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("otherKey");
    QTest::newRow("another key") << QByteArray("[General]\nOther=1\nSearches=a|\n") << "Other";
    QTest::newRow("another section") << QByteArray("[General]\nSearches=a|\n[Window]\nOther=1\n") << "Window/Other";
    QTest::newRow("a value QSettings reads as a list") << QByteArray("[General]\nSearches=a, b|\nOther=1\n") << "Other";
}

// A file the program does not write itself goes to QSettings, which keeps the rest of it.
void tst_SettingsStore::fileInAnotherFormKeepsWhatElseItHolds()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, otherKey);
    writeFile(path(), file);
    SettingsStore(path(), m_names).writeText(kKey, QStringLiteral("new, value|"));
    QCOMPARE(SettingsStore(path(), m_names).readText(kKey), QStringLiteral("new, value|"));
    const QString copy = freshPath();
    QVERIFY(QFile::copy(path(), copy));
    QCOMPARE(QSettings(copy, QSettings::IniFormat).value(otherKey).toString(), QStringLiteral("1"));
}

void tst_SettingsStore::fileChangedSinceTheLastWriteIsReadAgain_data()
{
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<bool>("byRename");
    QTest::addColumn<QString>("otherValue");
    QTest::addColumn<QString>("otherKey");
    QTest::addColumn<QString>("nextValue"); // what the store writes next
    // The other program's settings take as many bytes as the list's file.
    const QByteArray otherSettings = "[General]" + kLineEnd + "X=1" + kLineEnd + "Y=23456" + kLineEnd;
    QTest::newRow("a list rewritten in place at the same size is read, and replaced by the save")
        << usual("b|") << false << "b|" << QString() << "a|";
    QTest::newRow("a list put in place under the same name is read, and replaced by the save")
        << usual("b|") << true << "b|" << QString() << "a|";
    QTest::newRow("other settings rewritten in place at the same size are kept by the save")
        << otherSettings << false << QString() << "X"
        << "a|";
    QTest::newRow("other settings put in place under the same name are kept by the save")
        << otherSettings << true << QString() << "X"
        << "a|";
    QTest::newRow("the same list written again is not written by the save")
        << usual("a|") << false << "a|" << QString() << "a|";
    QTest::newRow("a key added after the list last written is kept by the save of another list")
        << usual("a|") + "Other=1" + kLineEnd << false << "a|"
        << "Other"
        << "b|";
}

// Another program (another start of this one) may change the file at any time: what this store last wrote is
// never taken for what the file holds now.
void tst_SettingsStore::fileChangedSinceTheLastWriteIsReadAgain()
{
    QFETCH(QByteArray, other);
    QFETCH(bool, byRename);
    QFETCH(QString, otherValue);
    QFETCH(QString, otherKey);
    QFETCH(QString, nextValue);
    const QString file = freshPath(); // never read by QSettings before
    writeFile(file, usual("z|"));
    SettingsStore reader(file, m_names);
    SettingsStore writer(file, m_names);
    writer.writeText(kKey, QStringLiteral("a|"));
    QCOMPARE(reader.readText(kKey), QStringLiteral("a|"));
    const QString elsewhere = freshPath();
    writeFile(byRename ? elsewhere : file, other);
    if (byRename)
        std::filesystem::rename(QFileInfo(elsewhere).filesystemFilePath(), QFileInfo(file).filesystemFilePath());
    // A day ago, to an even second, which every file system keeps as it is.
    const QDateTime longAgo =
        QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() / 2 * 2 - 86400, Qt::UTC);
    QFile times(file);
    QVERIFY(times.open(QIODevice::ReadWrite) && times.setFileTime(longAgo, QFileDevice::FileModificationTime));
    times.close();
    QCOMPARE(reader.readText(kKey), otherValue);

    writer.writeText(kKey, nextValue);
    QCOMPARE(SettingsStore(file, m_names).readText(kKey), nextValue);
    QCOMPARE(QFileInfo(file).lastModified() == longAgo, otherValue == nextValue);
    if (!otherKey.isEmpty()) {
        const QString copy = freshPath();
        QVERIFY(QFile::copy(file, copy));
        QCOMPARE(QSettings(copy, QSettings::IniFormat).value(otherKey).toString(), QStringLiteral("1"));
    }
}

// A file system that keeps times to the second or two shows a list rewritten at the same size with the time it had:
// what is read is what the file holds, never what QSettings read of it before.
void tst_SettingsStore::listRewrittenAtTheSameSizeAndTimeIsReadAsItIs()
{
    const QString file = freshPath();
    const QDateTime second = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch() / 2 * 2 - 60, Qt::UTC);
    SettingsStore store(file, m_names);
    for (const QString& value : {QStringLiteral("one site:x|"), QStringLiteral("two site:x|")}) {
        store.writeText(kKey, value);
        QFile times(file);
        QVERIFY(times.open(QIODevice::ReadWrite) && times.setFileTime(second, QFileDevice::FileModificationTime));
        times.close();
        QCOMPARE(store.readText(kKey), value);
    }
}

void tst_SettingsStore::nonTextValueFails_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("a rectangle") << QVariant(QRect(1, 2, 3, 4));
    QTest::newRow("bytes that are not UTF-8, which would read as U+FFFD")
        << QVariant(QByteArray("ba site:x.org|\xff\0|", 17));
}

void tst_SettingsStore::nonTextValueFails()
{
    QFETCH(QVariant, value);
    {
        QSettings settings(path(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Searches"), value);
    }
    QVERIFY_THROWS_EXCEPTION(Failure, SettingsStore(path(), m_names).readText(QStringLiteral("Searches")));
}

void tst_SettingsStore::halfCharacterIsRefusedForWhatItIs()
{
    SettingsStore store(path(), m_names);
    store.writeText(QStringLiteral("Searches"), QStringLiteral("kept|"));
    try {
        store.writeText(QStringLiteral("Searches"), QStringLiteral("lone") + QChar(0xD800) + QStringLiteral("|"));
        QFAIL("writing did not fail");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(QStringLiteral("unpaired UTF-16 surrogate")) &&
                     !failure.description().contains(QStringLiteral("disk")),
                 qPrintable(failure.description()));
    }
    QCOMPARE(SettingsStore(path(), m_names).readText(QStringLiteral("Searches")), QStringLiteral("kept|"));
}

void tst_SettingsStore::unwritableStoreFails()
{
    // A folder where the settings file should be can be written by nobody, root included.
    const QString blocked = m_folder.filePath(QStringLiteral("blocked.ini"));
    QVERIFY(QDir().mkpath(blocked));
    SettingsStore store(blocked, m_names);
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
    SettingsStore store(path(), m_names);
    QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("old site:x|"));
    store.writeText(QStringLiteral("Searches"), QStringLiteral("new site:x|"));
    QCOMPARE(SettingsStore(path(), m_names).readText(QStringLiteral("Searches")), QStringLiteral("new site:x|"));
}

void tst_SettingsStore::userStoreUsesTheMakerAndSection()
{
#if defined(Q_OS_WIN)
    QSKIP("On Windows the user's store is the registry, which QSettings finds by maker and section itself.");
#endif
    const QString location = SettingsStore(m_names).location();
    QCOMPARE(location, QDir::toNativeSeparators(QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                                          QStringLiteral("Quillmark"),
                                                          QStringLiteral("Bazaarly Lookup Across Many Towns Utility"))
                                                    .fileName()));
    QVERIFY2(location.startsWith(QDir::toNativeSeparators(userFolder())), qPrintable(location));
}

void tst_SettingsStore::userStoreIsFoundByWholePathsOnly_data()
{
    QTest::addColumn<QByteArray>("home");
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QString>("folder"); // where the maker's folder is; empty for the user database's home's
    QTest::newRow("XDG_CONFIG_HOME names the folder") << QByteArray("/h") << QByteArray("/c/") << "/c";
    QTest::newRow("without it, .config in the home folder") << QByteArray("/h") << QByteArray() << "/h/.config";
    QTest::newRow("a relative XDG_CONFIG_HOME is ignored") << QByteArray("/h") << QByteArray("c") << "/h/.config";
    QTest::newRow("without HOME, the user database's home") << QByteArray() << QByteArray() << "";
    QTest::newRow("a relative HOME is ignored too") << QByteArray("h") << QByteArray("c") << "";
}

void tst_SettingsStore::userStoreIsFoundByWholePathsOnly()
{
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
    QSKIP("The user's store is found by these variables on Linux and the other Unix systems only.");
#else
    QFETCH(QByteArray, home);
    QFETCH(QByteArray, configHome);
    QFETCH(QString, folder);
    const QByteArray homeBefore = qgetenv("HOME"), configHomeBefore = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", homeBefore);
        qputenv("XDG_CONFIG_HOME", configHomeBefore);
    });
    for (const auto& [name, value] : {std::pair{"HOME", home}, std::pair{"XDG_CONFIG_HOME", configHome}}) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    if (folder.isEmpty())
        folder = QFile::decodeName(::getpwuid(::getuid())->pw_dir) + QStringLiteral("/.config");
    QCOMPARE(SettingsStore(m_names).location(),
             folder + QStringLiteral("/Quillmark/Bazaarly Lookup Across Many Towns Utility.conf"));
#endif
}

void tst_SettingsStore::neighbouringFilesAreNeverRead_data()
{
    QTest::addColumn<QString>("neighbour");
    const QString makerFile = QLatin1Char('/') + m_names.maker + QLatin1String(".conf");
    QTest::newRow("the maker-wide file cannot be read") << userFolder() + makerFile;
    QTest::newRow("the system-wide file cannot be read") << ProgramNames::settingsFileIn(systemFolder());
    QTest::newRow("the system-wide maker file cannot be read") << systemFolder() + makerFile;
}

void tst_SettingsStore::neighbouringFilesAreNeverRead()
{
    QFETCH(QString, neighbour);
    SettingsStore store(m_names);
    store.writeText(QStringLiteral("Searches"), QStringLiteral("kept site:x|"));
    QVERIFY(QDir().mkpath(neighbour)); // a folder: nobody can read it as a file, root included
    QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("kept site:x|"));
    store.writeText(QStringLiteral("Searches"), QStringLiteral("new site:x|"));
    QCOMPARE(SettingsStore(m_names).readText(QStringLiteral("Searches")), QStringLiteral("new site:x|"));
    QVERIFY(QDir(neighbour).removeRecursively());
}

void tst_SettingsStore::eachOperationIsJudgedByItsOwnOutcome()
{
    SettingsStore store(path(), m_names);
    QVERIFY(QDir().mkpath(path()));
    QVERIFY_THROWS_EXCEPTION(Failure, store.readText(QStringLiteral("Searches")));
    QVERIFY(QDir(path()).removeRecursively());
    store.writeText(QStringLiteral("Searches"), QStringLiteral("a|")); // the failed read is forgotten
    QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("a|"));

    writeFile(path(), "[General]\nSearches=b|\n[broken\n");
    QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("b|"));
    QVERIFY(QDir().mkpath(path() + QStringLiteral(".lock"))); // the next write cannot succeed
    QVERIFY_THROWS_EXCEPTION(Failure, store.writeText(QStringLiteral("Searches"), QStringLiteral("c|")));
}

void tst_SettingsStore::storeThatIsNotAFileFailsAtOnce()
{
#if !defined(Q_OS_UNIX)
    QSKIP("A named pipe in place of a file is a Unix matter.");
#endif
    makeNamedPipe(path());
    SettingsStore store(path(), m_names);
    QVERIFY_THROWS_EXCEPTION(Failure, store.readText(QStringLiteral("Searches")));
    QVERIFY_THROWS_EXCEPTION(Failure, store.writeText(QStringLiteral("Searches"), QStringLiteral("a|")));
}

void tst_SettingsStore::lockBesideTheStore_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("alreadyStored");
    QTest::addColumn<bool>("saved");
    QTest::newRow("an empty lock left behind is taken over") << false << false << true;
    QTest::newRow("a folder in place of the lock fails the write") << true << false << false;
    // A close that finds the list already stored writes nothing, so it cannot fail.
    QTest::newRow("a folder in place of the lock does not stop a list already stored") << true << true << true;
}

void tst_SettingsStore::lockBesideTheStore()
{
    QFETCH(bool, folder);
    QFETCH(bool, alreadyStored);
    QFETCH(bool, saved);
    const QString lock = path() + QStringLiteral(".lock");
    if (folder)
        QVERIFY(QDir().mkpath(lock));
    else
        writeFile(lock, QByteArray());
    if (alreadyStored)
        writeFile(path(), "[General]\nSearches=a|\n");
    SettingsStore store(path(), m_names);
    // An empty lock is taken over once it is older than the second time, within the first; a folder is never let
    // go of, and fails the write without waiting.
    const int wait = folder ? 60000 : 600;
    store.setLockTimes(wait, 200);
    QElapsedTimer timer;
    timer.start();
    try {
        store.writeText(QStringLiteral("Searches"), QStringLiteral("a|"));
        QVERIFY(saved);
        QCOMPARE(store.readText(QStringLiteral("Searches")), QStringLiteral("a|"));
    } catch (const Failure& failure) {
        QVERIFY2(!saved, qPrintable(failure.description()));
        QVERIFY2(failure.description().contains(QDir::toNativeSeparators(lock)), qPrintable(failure.description()));
        QVERIFY(timer.elapsed() < wait);
    }
}

void tst_SettingsStore::copyIsKeptBesideTheStore()
{
    writeFile(path(), "[General]\nSearches=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x6QPoint)\n");
    SettingsStore store(path(), m_names);
    const QString first = store.keepCopy(QStringLiteral("Searches"));
    const QString second = store.keepCopy(QStringLiteral("Searches"));
    QCOMPARE(first, QDir::toNativeSeparators(path() + QStringLiteral(".unrestored")));
    QCOMPARE(second, QDir::toNativeSeparators(path() + QStringLiteral(".unrestored-2")));
    QFile original(path());
    QFile copy(first);
    QVERIFY(original.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original.readAll());
}

#if defined(Q_OS_UNIX)
// A list of about `bytes` characters, different for each `mark`.
static QString listOfSize(qsizetype bytes, char mark)
{
    return QString(bytes, QLatin1Char(mark)) + QLatin1Char('|');
}

// Limits the size of the files this process writes until it ends, with SIGXFSZ ignored, as a handler would.
class FileSizeLimit final
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_before = {};
    void (*m_handler)(int) = nullptr;
};
#endif

void tst_SettingsStore::previousFileIsPutBackAndLeavesNothing_data()
{
    QTest::addColumn<bool>("existed");
    QTest::addColumn<bool>("replaced"); // by another file moved into place, as a save does
    QTest::newRow("a file replaced is put back") << true << true;
    QTest::newRow("a file a refused save never replaced stays") << true << false;
    QTest::newRow("a file made where there was none goes") << false << true;
}

// What a failed save puts back is the file as it was, and no second name of it stays beside it.
void tst_SettingsStore::previousFileIsPutBackAndLeavesNothing()
{
    QFETCH(bool, existed);
    QFETCH(bool, replaced);
    const QString file = freshPath();
    if (existed)
        writeFile(file, usual("old|"));
    PreviousFile previous(file);
    if (replaced) {
        const QString next = freshPath();
        writeFile(next, usual("torn"));
        std::filesystem::rename(QFileInfo(next).filesystemFilePath(), QFileInfo(file).filesystemFilePath());
    }
    QVERIFY(previous.putBack());
    QCOMPARE(QFileInfo::exists(file), existed);
    if (existed)
        QCOMPARE(contents(file), usual("old|"));
    QVERIFY(!QFileInfo::exists(file + QStringLiteral(".previous")));
}

void tst_SettingsStore::saveCutShortLeavesTheStoredValue_data()
{
    QTest::addColumn<bool>("smallDisk"); // a file size limit instead
    QTest::newRow("a full disk keeps the value stored before") << true;
    QTest::newRow("a file size limit keeps the value stored before") << false;
}

void tst_SettingsStore::saveCutShortLeavesTheStoredValue()
{
#if !defined(Q_OS_UNIX)
    QSKIP("The settings file is a Unix matter: on Windows the list is kept in the registry.");
#else
    QFETCH(bool, smallDisk);
    const QString disk = m_folder.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    if (smallDisk) {
        const QString why = mountSmallDisk(disk, 64 * 1024);
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
    }
    const auto unmount = qScopeGuard([&] {
        if (smallDisk)
            unmountSmallDisk(disk);
    });
    const QString file = disk + QStringLiteral("/settings.ini");
    SettingsStore store(file, m_names);
    store.writeText(QStringLiteral("Searches"), listOfSize(8000, 'a'));
    QFile stored(file);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    const QByteArray before = stored.readAll();
    stored.close();
    {
        if (smallDisk)
            fillDiskLeaving(disk, 16 * 1024);
        const FileSizeLimit limit(smallDisk ? RLIM_INFINITY : 16 * 1024);
        QVERIFY_THROWS_EXCEPTION(Failure, store.writeText(QStringLiteral("Searches"), listOfSize(40000, 'b')));
    }
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), before);
    QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("settings")),
             QStringList{QStringLiteral("settings.ini")});
    store.writeText(QStringLiteral("Searches"), listOfSize(100, 'c')); // a list that fits is saved
    QCOMPARE(SettingsStore(file, m_names).readText(QStringLiteral("Searches")), listOfSize(100, 'c'));
#endif
}

// An encoded list, nested `depth` deep, as QSettings stores one.
static QByteArray nestedLists(int depth)
{
    return "@Variant(" + QByteArray("\\0\\0\\0\\t\\0\\0\\0\\x1").repeated(depth) + "\\0\\0\\0\\t\\0\\0\\0\\0)";
}

void tst_SettingsStore::foreignFileIsAFailedRead_data()
{
    QTest::addColumn<QByteArray>("contents");
    QByteArray utf16 = QByteArray("\xff\xfe");
    for (const char c : QByteArray("[General]\nSearches=a|b|\n"))
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    QTest::newRow("a file in UTF-16") << utf16;
    QTest::newRow("an encoded list of texts") << QByteArray(
        "[General]\nSearches=@Variant(\\0\\0\\0\\v\\0\\0\\0\\x2\\0\\0\\0\\x2\\0\\x61\\0\\0\\0\\x2\\0\\x62)\n");
    QTest::newRow("an encoded list of texts with a huge count")
        << QByteArray("[General]\nSearches=@Variant(\\0\\0\\0\\v\\0\\xff\\xff\\xff\\xf0\\0\\0\\0\\x2\\0\\x61)\n");
    QTest::newRow("lists nested 30,000 deep") << "[General]\nSearches=" + nestedLists(30000) + '\n';
    QTest::newRow("lists nested 30,000 deep under another key, after an escaped quote")
        << "[General]\nSearches=a|\nOther=" + QByteArray(1000, 'a') + "\\\",b," + nestedLists(30000) + '\n';
    QTest::newRow("lists nested 30,000 deep under another key, the @ escaped")
        << "[General]\nSearches=a|\nOther=\"\\x40" + nestedLists(30000).mid(1) + "\"\n";
}

void tst_SettingsStore::foreignFileIsAFailedRead()
{
    QFETCH(QByteArray, contents);
    writeFile(path(), contents);
    SettingsStore store(path(), m_names);
    QVERIFY_THROWS_EXCEPTION(Failure, store.readText(QStringLiteral("Searches")));
    // Once a copy is kept, the list can be saved in its place.
    QCOMPARE(store.keepCopy(QStringLiteral("Searches")),
             QDir::toNativeSeparators(path() + QStringLiteral(".unrestored")));
    store.writeText(QStringLiteral("Searches"), QStringLiteral("new|"));
    QCOMPARE(SettingsStore(path(), m_names).readText(QStringLiteral("Searches")), QStringLiteral("new|"));
    QCOMPARE(QSettings(path(), QSettings::IniFormat).allKeys(), QStringList{"Searches"}); // nothing of the old file
    QFile copy(path() + QStringLiteral(".unrestored"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), contents);
}

void tst_SettingsStore::valueTooLargeForTheMemoryFailsBeforeDecoding()
{
#if !defined(Q_OS_UNIX)
    QSKIP("The address space is limited here on Unix only.");
#else
    writeFile(path(), "[General]\nSearches=" + QByteArray(100'000'000, 'a') + '\n');
    const AddressSpaceLimit limit(450'000'000);
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, SettingsStore(path(), m_names).readText(QStringLiteral("Searches")));
#endif
}

#ifdef Q_OS_WIN
namespace {
const wchar_t* const kUserKey = L"Software\\Quillmark\\Bazaarly Lookup Across Many Towns Utility";

void setRaw(const wchar_t* name, DWORD type, const QByteArray& bytes)
{
    QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, kUserKey, name, type, bytes.constData(), DWORD(bytes.size())),
             LSTATUS(ERROR_SUCCESS));
}

QByteArray raw(const wchar_t* name, DWORD& type)
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kUserKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    QByteArray bytes(size, '\0');
    RegGetValueW(HKEY_CURRENT_USER, kUserKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes.data(), &size);
    return bytes.left(size);
}

QByteArray utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), (text.size() + 1) * 2);
}
} // namespace

void tst_SettingsStore::registryValuesOfOtherTypesFailAndStayAsTheyAre_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a number") << int(REG_DWORD) << QByteArray("\x2a\0\0\0", 4) << "is not text.";
    QTest::newRow("bytes") << int(REG_BINARY) << QByteArray("a\0|\0", 4) << "is not text.";
    QTest::newRow("several texts") << int(REG_MULTI_SZ) << utf16(QStringLiteral("a|")) + utf16(QStringLiteral("b|"))
                                   << "is not text.";
    QTest::newRow("QSettings' encoding of nothing")
        << int(REG_SZ) << utf16(QStringLiteral("@Invalid()")) << "is not text.";
    QTest::newRow("QSettings' encoding of another type")
        << int(REG_SZ) << utf16(QStringLiteral("@Variant(\\0\\0\\0\\x7f)")) << "is not text.";
    QTest::newRow("a text with a NUL inside")
        << int(REG_SZ) << utf16(QStringLiteral("a site:x|")) + utf16(QStringLiteral("b site:x|"))
        << "holds a NUL character.";
}

// Each read fails naming why, and the copies kept of the value are its very bytes, one beside the other.
void tst_SettingsStore::registryValuesOfOtherTypesFailAndStayAsTheyAre()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserKey, L"Searches.unrestored");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserKey, L"Searches.unrestored-2");
    setRaw(L"Searches", DWORD(type), bytes);
    SettingsStore store(m_names);
    try {
        store.readText(QStringLiteral("Searches"));
        QFAIL("the value was read as text");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().endsWith(reason), qPrintable(failure.description()));
        QVERIFY2(!failure.description().contains(QStringLiteral("\\HKEY")), qPrintable(failure.description()));
    }
    QVERIFY(store.keepCopy(QStringLiteral("Searches")).contains(QStringLiteral("\"Searches.unrestored\"")));
    QVERIFY(store.keepCopy(QStringLiteral("Searches")).contains(QStringLiteral("\"Searches.unrestored-2\"")));
    for (const wchar_t* name : {L"Searches", L"Searches.unrestored", L"Searches.unrestored-2"}) {
        DWORD storedType = REG_NONE;
        QCOMPARE(raw(name, storedType).left(bytes.size()), bytes);
        QCOMPARE(int(storedType), type);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserKey, L"Searches");
}

// What QSettings would escape or lose: a first query beginning with "@", a NUL-free text of every kind.
void tst_SettingsStore::registryTextIsStoredExactly()
{
    const QString text = QStringLiteral("@home a\\|b & #1 100% M\u00FCnchen site:x|second|");
    SettingsStore store(m_names);
    store.writeText(QStringLiteral("Searches"), text);
    DWORD type = REG_NONE;
    QCOMPARE(raw(L"Searches", type), utf16(text));
    QCOMPARE(int(type), int(REG_SZ));
    QCOMPARE(store.readText(QStringLiteral("Searches")), text);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserKey, L"Searches");
}
#endif

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
