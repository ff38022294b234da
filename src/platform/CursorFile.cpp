#include "CursorFile.h"

#include "Failure.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace {

// The layout of a cursor file's header and of its first directory entry.
constexpr qsizetype kHeaderSize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr quint16 kCursorType = 2;

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

} // namespace

CursorPicture readCursorPicture(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.size() < kHeaderSize + kEntrySize)
        throw notACursor(fileName, QStringLiteral("it is too short"));
    if (word(bytes, 0) != 0 || word(bytes, 2) != kCursorType || word(bytes, 4) == 0)
        throw notACursor(fileName, QStringLiteral("it does not begin with a cursor header"));
    const quint32 imageSize = doubleWord(bytes, kHeaderSize + 8);
    const quint32 imageOffset = doubleWord(bytes, kHeaderSize + 12);
    if (imageOffset < kHeaderSize + kEntrySize || imageOffset > quint64(bytes.size()) ||
        imageSize > quint64(bytes.size()) - imageOffset)
        throw notACursor(fileName, QStringLiteral("its picture lies outside the file"));

    QBuffer device;
    device.setData(bytes);
    QImageReader reader(&device, "cur");
    QImage image = reader.read();
    if (image.isNull())
        throw notACursor(fileName, reader.errorString());
    const QPoint hotspot(word(bytes, kHeaderSize + 4), word(bytes, kHeaderSize + 6));
    // A hotspot outside the picture would put the pointer's tip nowhere; the top-left corner is the safe reading.
    return {image, image.rect().contains(hotspot) ? hotspot : QPoint(0, 0)};
}

QCursor loadCursorFile(const QString& path)
{
    // Only a regular file: opening a named pipe or a device would wait for a writer that never comes.
    if (!QFileInfo(path).isFile())
        throw Failure(QStringLiteral("The file \"%1\" is not a regular file.").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The file \"%1\" cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
    const CursorPicture picture = readCursorPicture(file.read(1 << 20), path);
    return QCursor(QPixmap::fromImage(picture.image), picture.hotspot.x(), picture.hotspot.y());
}
