// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/TextFileReader.h"

#include "platform/base/Failure.h"
#include "platform/base/RegularFile.h"

#include <QDir>
#include <QFileInfo>

namespace {
constexpr qint64 kBlockSize = 256 * 1024;
}

TextFileReader::TextFileReader(const QString& path) : m_file(path), m_decoder(QStringConverter::System)
{
    if (!isRegularFile(path)) {
        const bool missing = !QFileInfo::exists(path);
        throw Failure(QStringLiteral("The file \"%1\" %2.")
                          .arg(QDir::toNativeSeparators(path), missing ? "was not found" : "is not a file"));
    }
    openForReading(m_file);
    // A byte-order mark names the file's Unicode encoding whatever the system's is: Notepad writes one when it
    // saves as UTF-8 or Unicode.
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(m_file.peek(4)))
        m_decoder = QStringDecoder(*marked);
#ifdef Q_OS_WIN
    // Notepad now saves UTF-8 without a mark: a file that is valid UTF-8 throughout is read as UTF-8, any other
    // in the ANSI code page, as before. (Elsewhere the system's encoding is UTF-8 already.)
    else if (isValidUtf8())
        m_decoder = QStringDecoder(QStringConverter::Utf8);
#endif
}

#ifdef Q_OS_WIN
bool TextFileReader::isValidUtf8()
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString scratch;
    for (QByteArray block = m_file.read(kBlockSize); !block.isEmpty() && !utf8.hasError();
         block = m_file.read(kBlockSize)) {
        scratch.resize(utf8.requiredSpace(block.size()));
        utf8.appendToBuffer(scratch.data(), block);
    }
    const bool valid = !utf8.hasError();
    m_file.seek(0); // a read error shows again, and is reported, when the lines are read
    return valid;
}
#endif

bool TextFileReader::readBlock()
{
    if (m_file.atEnd())
        return false;
    m_block.resize(kBlockSize);
    const qint64 read = m_file.read(m_block.data(), kBlockSize);
    if (read < 0)
        throw Failure(QStringLiteral("The file \"%1\" could not be read to its end: %2.")
                          .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
    // The text already handed out goes; the block is decoded straight after what is left, into the same storage.
    m_text.remove(0, m_position);
    m_position = 0;
    const qsizetype kept = m_text.size();
    const QByteArrayView bytes(m_block.constData(), read);
    m_text.resize(kept + m_decoder.requiredSpace(bytes.size()));
    const QChar* end = m_decoder.appendToBuffer(m_text.data() + kept, bytes);
    m_text.truncate(end - m_text.constData());
    return true;
}

bool TextFileReader::atEnd()
{
    while (m_position >= m_text.size()) {
        if (!readBlock())
            return true;
    }
    return false;
}

QStringView TextFileReader::readLine()
{
    qsizetype searchFrom = m_position;
    qsizetype lineEnd = m_text.indexOf(QLatin1Char('\n'), searchFrom);
    while (lineEnd < 0) {
        searchFrom = m_text.size() - m_position; // the text shifts to the front when the next block comes
        if (!readBlock()) {
            lineEnd = m_text.size();
            break;
        }
        lineEnd = m_text.indexOf(QLatin1Char('\n'), searchFrom);
    }
    QStringView line = QStringView(m_text).sliced(m_position, lineEnd - m_position);
    m_position = lineEnd + 1;
    if (line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}
