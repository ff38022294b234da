#include "TextFileReader.h"

#include "Failure.h"

#include <QDir>
#include <QFileInfo>

TextFileReader::TextFileReader(const QString& path) : m_file(path)
{
    if (!QFileInfo(path).isFile()) {
        const bool missing = !QFileInfo::exists(path);
        throw Failure(QStringLiteral("The file \"%1\" %2.")
                          .arg(QDir::toNativeSeparators(path), missing ? "was not found" : "is not a file"));
    }
    if (!m_file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The file \"%1\" cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(path), m_file.errorString()));
    m_stream.setDevice(&m_file);
    m_stream.setEncoding(QStringConverter::System);
    m_stream.setAutoDetectUnicode(false); // the locale's encoding, whatever the first bytes look like
}

bool TextFileReader::atEnd() const
{
    return m_stream.atEnd();
}

void TextFileReader::readLine(QString& line)
{
    if (!m_stream.readLineInto(&line))
        throw Failure(QStringLiteral("The file \"%1\" could not be read to its end: %2.")
                          .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString()));
}
