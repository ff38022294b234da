// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>
#include <QStringConverter>
#include <QStringView>

// Reads a text file line by line, in the Unicode encoding that a byte-order mark names, else in the system's
// encoding; on Windows a file that is valid UTF-8 is read as UTF-8, any other in the ANSI code page.
// A line ends at LF or CR LF and is handed out without its break; a break after the last line adds no line.
// The file is read and decoded in large blocks, so a line costs no allocation of its own.
class TextFileReader final
{
public:
    // Opens the file for reading only; a Failure naming the file when it is missing or cannot be read.
    explicit TextFileReader(const QString& path);

    // The file's size in bytes.
    qint64 size() const { return m_file.size(); }
    bool atEnd();
    // The next line; the view stays valid until the next call. A Failure when the file cannot be read on.
    QStringView readLine();

private:
    // Decodes the next block of the file after the text not yet handed out; false at the end of the file.
    bool readBlock();
#ifdef Q_OS_WIN
    // Whether the whole file is valid UTF-8; reads it through and goes back to its start.
    bool isValidUtf8();
#endif

    QFile m_file;
    QStringDecoder m_decoder;
    QByteArray m_block;       // the bytes of the block being decoded, kept to save an allocation a block
    QString m_text;           // decoded text from the current line on
    qsizetype m_position = 0; // where the next line starts in m_text
};
