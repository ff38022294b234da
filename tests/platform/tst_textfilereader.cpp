#include "platform/Failure.h"
#include "platform/TextFileReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

void tst_TextFileReader::readsLinesWithoutTheirBreaks_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("LF lines") << QByteArray("a,b,c\nd,e,f\n") << QStringList{"a,b,c", "d,e,f"};
    QTest::newRow("CR LF lines read the same") << QByteArray("a,b,c\r\nd,e,f\r\n") << QStringList{"a,b,c", "d,e,f"};
    QTest::newRow("no break after the last line") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("blank lines are lines") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"};
    QTest::newRow("an empty file has no lines") << QByteArray() << QStringList{};
    QTest::newRow("a byte-order mark is not part of the first line")
        << QByteArray("\xEF\xBB\xBFu,n,r\n") << QStringList{"u,n,r"};
    QTest::newRow("lines across the reader's blocks")
        << QByteArray(1 << 20, 'x') + "\r\n" + QByteArray(1 << 20, 'y') + "\n\xC3\xA9z"
        << QStringList{QString(1 << 20, 'x'), QString(1 << 20, 'y'), QStringLiteral("\u00E9z")};
    QByteArray splitLetter((1 << 20) - 1, 'a');
    splitLetter += "\xC3\xA9\n"; // the block ends inside the two bytes of the letter
    QTest::newRow("a letter split between blocks")
        << splitLetter << QStringList{QString((1 << 20) - 1, 'a') + QChar(0xE9)};
    QTest::newRow("a lone CR is part of the line") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    QTest::newRow("invalid bytes become replacement characters")
        << QByteArray("a\xFF,b\n") << QStringList{QStringLiteral("a\uFFFD,b")};
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
