#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

// The first picture of a Windows cursor file and the hotspot from its directory entry.
struct CursorPicture
{
    QImage image;
    QPoint hotspot;
};

// Reads a cursor file's bytes; a Failure naming `fileName` when they are not a cursor.
CursorPicture readCursorPicture(const QByteArray& bytes, const QString& fileName);

// The pointer made from a cursor file; a Failure when the file cannot be read or is not a cursor.
QCursor loadCursorFile(const QString& path);
