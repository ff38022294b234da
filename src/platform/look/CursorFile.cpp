// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/CursorFile.h"

#include "platform/base/Failure.h"
#include "platform/base/RegularFile.h"
#include "platform/look/DesktopCursor.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

#include <cstdlib>

namespace {

// The layout of a cursor file's header and of its directory entries.
constexpr qsizetype kHeaderSize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr quint16 kCursorType = 2;
// The usual arrow of a desktop at 100 %.
constexpr int kStandardArrowSize = 24;
// No cursor file holds a picture larger than this (a width byte of 0 stands for 256); asking for more would only
// pick the same picture, and an absurd arrow size or scale must not overflow the arithmetic.
constexpr qreal kLargestWantedSize = 1024;

quint8 byte(const QByteArray& bytes, qsizetype at)
{
    return quint8(bytes[at]);
}

quint16 word(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 doubleWord(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

Failure notACursor(const QString& fileName, const QString& why)
{
    return Failure(QStringLiteral("The file \"%1\" is not a cursor: %2.").arg(QDir::toNativeSeparators(fileName), why));
}

// The directory entry whose picture width is nearest to the wanted size, the smaller of two as near: a hand a
// little small sits better beside the arrow than one half as large again. A width byte of 0 stands for 256.
int nearestEntry(const QByteArray& bytes, int entries, int wantedSize)
{
    int nearest = 0;
    int nearestWidth = 0;
    for (int entry = 0; entry < entries; ++entry) {
        const int widthByte = byte(bytes, kHeaderSize + entry * kEntrySize);
        const int width = widthByte == 0 ? 256 : widthByte;
        const int distance = std::abs(width - wantedSize);
        const int nearestDistance = std::abs(nearestWidth - wantedSize);
        if (entry == 0 || distance < nearestDistance || (distance == nearestDistance && width < nearestWidth)) {
            nearest = entry;
            nearestWidth = width;
        }
    }
    return nearest;
}

} // namespace

int wantedCursorSize(int desktopCursorSize, qreal devicePixelRatio)
{
    const qreal wanted = desktopCursorSize > 0 ? qreal(desktopCursorSize) * kStandardCursorSize / kStandardArrowSize
                                               : kStandardCursorSize * devicePixelRatio;
    // Written so that a scale that is not a number falls to the standard size too.
    if (!(wanted > kStandardCursorSize))
        return desktopCursorSize > 0 ? qMax(qRound(wanted), 1) : kStandardCursorSize;
    return qRound(qMin(wanted, kLargestWantedSize));
}

CursorPicture readCursorPicture(const QByteArray& bytes, const QString& fileName, int wantedSize)
{
    if (bytes.size() < kHeaderSize + kEntrySize)
        throw notACursor(fileName, QStringLiteral("it is too short"));
    const int entries = word(bytes, 4);
    if (word(bytes, 0) != 0 || word(bytes, 2) != kCursorType || entries == 0)
        throw notACursor(fileName, QStringLiteral("it does not begin with a cursor header"));
    if (bytes.size() < kHeaderSize + entries * kEntrySize)
        throw notACursor(fileName, QStringLiteral("it is too short"));
    const int entry = nearestEntry(bytes, entries, wantedSize);
    const qsizetype entryAt = kHeaderSize + entry * kEntrySize;
    const quint32 imageSize = doubleWord(bytes, entryAt + 8);
    const quint32 imageOffset = doubleWord(bytes, entryAt + 12);
    if (imageOffset < kHeaderSize + entries * kEntrySize || imageOffset > quint64(bytes.size()) ||
        imageSize > quint64(bytes.size()) - imageOffset)
        throw notACursor(fileName, QStringLiteral("its picture lies outside the file"));

    QBuffer device;
    device.setData(bytes);
    QImageReader reader(&device, "cur");
    if (!reader.jumpToImage(entry))
        throw notACursor(fileName, reader.errorString());
    QImage image = reader.read();
    if (image.isNull())
        throw notACursor(fileName, reader.errorString());
    const QPoint hotspot(word(bytes, entryAt + 4), word(bytes, entryAt + 6));
    // A hotspot outside the picture would put the pointer's tip nowhere; the top-left corner is the safe reading.
    return {image, image.rect().contains(hotspot) ? hotspot : QPoint(0, 0)};
}

QCursor loadCursorFile(const QString& path, qreal devicePixelRatio)
{
    // Only a regular file: opening a named pipe or a device would wait for a writer that never comes.
    if (!isRegularFile(path))
        throw Failure(QStringLiteral("The file \"%1\" is not a regular file.").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    openForReading(file);
    const int size = wantedCursorSize(desktopCursorSize(), devicePixelRatio);
    const CursorPicture picture = readCursorPicture(file.read(1 << 20), path, size);
    return QCursor(QPixmap::fromImage(picture.image), picture.hotspot.x(), picture.hotspot.y());
}
