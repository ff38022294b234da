#pragma once

#include <QFile>
#include <QString>
#include <QTextStream>

// Reads a text file line by line, in the system's locale encoding, for as long as the reader lives.
// A line ends at LF or CR LF and is handed out without its break; a break after the last line adds no line.
class TextFileReader final
{
public:
    // Opens the file for reading only; a Failure naming the file when it is missing or cannot be read.
    explicit TextFileReader(const QString& path);

    bool atEnd() const;
    // Reads the next line into `line`, reusing its storage.
    void readLine(QString& line);

private:
    QFile m_file;
    QTextStream m_stream;
};
