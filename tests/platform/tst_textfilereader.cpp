// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/base/Failure.h"
#include "platform/storage/TextFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <qt_windows.h>
// The ANSI code page of Windows in Western Europe and the Americas, and of Wine.
constexpr UINT kWesternCodePage = 1252;
#endif

class tst_TextFileReader : public QObject
{
    Q_OBJECT

private slots:
    void readsLinesWithoutTheirBreaks_data();
    void readsLinesWithoutTheirBreaks();
    void missingOrUnreadableFileFailsNamingIt_data();
    void missingOrUnreadableFileFailsNamingIt();

private:
    QTemporaryDir m_folder;
};

static QStringList readAll(const QString& path)
{
    TextFileReader reader(path);
    QStringList lines;
    while (!reader.atEnd())
        lines.append(reader.readLine().toString());
    return lines;
}

// The bytes of the text in the system's encoding: the locale's on Unix, the ANSI code page on Windows.
static QByteArray inSystemEncoding(const QString& text)
{
    return QStringEncoder(QStringConverter::System).encode(text);
}

// The text as Notepad saves "Unicode": UTF-16, little-endian, after its byte-order mark.
static QByteArray asNotepadUnicode(const QString& text)
{
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
}

void tst_TextFileReader::readsLinesWithoutTheirBreaks_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("lines");
    const QByteArray utf8Mark("\xEF\xBB\xBF");
    QTest::newRow("LF lines") << QByteArray("a,b,c\nd,e,f\n") << QStringList{"a,b,c", "d,e,f"};
    QTest::newRow("CR LF lines read the same") << QByteArray("a,b,c\r\nd,e,f\r\n") << QStringList{"a,b,c", "d,e,f"};
    QTest::newRow("no break after the last line") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("blank lines are lines") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"};
    QTest::newRow("an empty file has no lines") << QByteArray() << QStringList{};
    QTest::newRow("a byte-order mark is not part of the first line") << utf8Mark + "u,n,r\n" << QStringList{"u,n,r"};
    QTest::newRow("lines across the reader's blocks, in the system's encoding")
        << QByteArray(1 << 20, 'x') + "\r\n" + QByteArray(1 << 20, 'y') + "\n" +
               inSystemEncoding(QStringLiteral("\u00E9z"))
        << QStringList{QString(1 << 20, 'x'), QString(1 << 20, 'y'), QStringLiteral("\u00E9z")};
    QByteArray splitLetter = utf8Mark + QByteArray((1 << 20) - 4, 'a');
    splitLetter += "\xC3\xA9\n"; // the block ends inside the two bytes of the letter
    QTest::newRow("a letter split between blocks of a marked UTF-8 file")
        << splitLetter << QStringList{QString((1 << 20) - 4, 'a') + QChar(0xE9)};
    QTest::newRow("characters holding the break's byte do not end a line")
        << utf8Mark + "a\xC4\x8A\xE0\xA8\x85"
                      "b\nc\n"
        << QStringList{QString::fromUtf8("a\u010a\u0a05b"), "c"};
    QTest::newRow("a lone CR is part of the line") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    QTest::newRow("a UTF-8 mark makes the file UTF-8 whatever the system's encoding")
        << utf8Mark + "Z\xC3\xBCrich,Caf\xC3\xA9\n"
        << QStringList{QStringLiteral("Z\u00FCrich,Caf\u00E9")};
    QTest::newRow("invalid bytes in a marked UTF-8 file become replacement characters")
        << utf8Mark + "a\xFF,b\n"
        << QStringList{QStringLiteral("a\uFFFD,b")};
    QTest::newRow("a file saved by Notepad as Unicode")
        << asNotepadUnicode(QStringLiteral("Z\u00FCrich,\u6771\u4EAC\r\nb\r\n"))
        << QStringList{QStringLiteral("Z\u00FCrich,\u6771\u4EAC"), "b"};
    // On Windows a file without a mark that is valid UTF-8 throughout (Notepad's default now); on Unix the
    // locale's encoding, UTF-8 where the tests run.
    QTest::newRow("UTF-8 text without a mark")
        << QByteArray("Z\xC3\xBCrich,Caf\xC3\xA9\n") << QStringList{QStringLiteral("Z\u00FCrich,Caf\u00E9")};
    QByteArray unmarkedSplitLetter((1 << 20) - 1, 'a');
    unmarkedSplitLetter += "\xC3\xA9\n";
    QTest::newRow("a letter split between blocks")
        << unmarkedSplitLetter << QStringList{QString((1 << 20) - 1, 'a') + QChar(0xE9)};
#ifdef Q_OS_WIN
    // Any other file without a mark is ANSI text, in the system's code page.
    if (GetACP() == kWesternCodePage) {
        QTest::newRow("ANSI text in the Western code page")
            << QByteArray("Z\xFCrich,Caf\xE9\n") << QStringList{QStringLiteral("Z\u00FCrich,Caf\u00E9")};
        QByteArray utf8ThenAnsi((1 << 20) + 5, 'a');
        utf8ThenAnsi.replace(0, 8,
                             "Montr\xC3\xA9"
                             "a");
        utf8ThenAnsi += "Caf\xE9\n";
        QTest::newRow("UTF-8 at the start but ANSI after the first block is ANSI throughout")
            << utf8ThenAnsi
            << QStringList{QStringLiteral("Montr\u00C3\u00A9") + QString((1 << 20) - 2, 'a') +
                           QStringLiteral("Caf\u00E9")};
    }
#else
    QTest::newRow("invalid bytes become replacement characters")
        << QByteArray("a\xFF,b\n") << QStringList{QStringLiteral("a\uFFFD,b")};
#endif
}

void tst_TextFileReader::readsLinesWithoutTheirBreaks()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, lines);
    QFile file(m_folder.filePath(QStringLiteral("list.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    file.close();
    QCOMPARE(readAll(file.fileName()), lines);
}

void tst_TextFileReader::missingOrUnreadableFileFailsNamingIt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    QTest::newRow("a missing file") << "missing.txt"
                                    << "was not found";
    QTest::newRow("a folder") << "folder"
                              << "is not a file";
}

void tst_TextFileReader::missingOrUnreadableFileFailsNamingIt()
{
    QFETCH(QString, name);
    QFETCH(QString, why);
    QDir(m_folder.path()).mkpath(QStringLiteral("folder"));
    const QString path = m_folder.filePath(name);
    try {
        TextFileReader reader(path);
        QFAIL("opening did not fail");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(QDir::toNativeSeparators(path)), qPrintable(failure.description()));
        QVERIFY2(failure.description().contains(why), qPrintable(failure.description()));
    }
}

QTEST_GUILESS_MAIN(tst_TextFileReader)
#include "tst_textfilereader.moc"
