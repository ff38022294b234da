// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's pictures and writes them in the formats the program and its installers use:
//   HAND-M.CUR       the hand pointer shown over the buttons (Windows cursor, 32, 48 and 64 pixels square, 32 bits
//                    per pixel)
//   bazaarly.ico     the program's icon: 32 x 32 at 24 bits, 256, 128, 48, 24, 20 and 16 at 32 bits per pixel (the
//                    small ones for title bars, lists and menus at 100 %, 125 % and 150 %)
//   bazaarly-icon.pixels  the icon's pictures as the program's window shows them, decoded from bazaarly.ico: for
//                    each picture in the file's order its width and height (32-bit little-endian), then its pixels
//                    (premultiplied ARGB, 32-bit little-endian words), so that the window takes its icon with no
//                    decoding at start-up
//   hicolor/N.png    the same icon for the desktop's menu
// Usage: make_pictures OUTPUT_FOLDER

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QtMath>

#include <cstdio>
#include <vector>

namespace {

struct IconImage
{
    QImage image;
    int bitsPerPixel; // 24 or 32
    QPoint hotspot;   // cursors only
};

void appendWord(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void appendDoubleWord(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// One image as an icon or cursor file stores it: a BITMAPINFOHEADER of twice the height, the colour rows bottom
// up, then the 1-bit transparency mask, every row padded to four bytes.
QByteArray deviceIndependentBitmap(const QImage& source, int bitsPerPixel)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    const int colourRowBytes = ((width * bitsPerPixel + 31) / 32) * 4;
    const int maskRowBytes = ((width + 31) / 32) * 4;

    QByteArray out;
    appendDoubleWord(out, 40);
    appendDoubleWord(out, quint32(width));
    appendDoubleWord(out, quint32(height * 2));
    appendWord(out, 1);
    appendWord(out, quint16(bitsPerPixel));
    appendDoubleWord(out, 0); // no compression
    appendDoubleWord(out, quint32((colourRowBytes + maskRowBytes) * height));
    for (int unused = 0; unused < 4; ++unused)
        appendDoubleWord(out, 0);

    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(colourRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            char* at = row.data() + x * (bitsPerPixel / 8);
            at[0] = char(qBlue(pixel));
            at[1] = char(qGreen(pixel));
            at[2] = char(qRed(pixel));
            if (bitsPerPixel == 32)
                at[3] = char(qAlpha(pixel));
        }
        out.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskRowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

// An icon (type 1) or cursor (type 2) file: header, one directory entry per image, then the images.
QByteArray iconFile(quint16 type, const std::vector<IconImage>& images)
{
    QByteArray out;
    appendWord(out, 0);
    appendWord(out, type);
    appendWord(out, quint16(images.size()));
    std::vector<QByteArray> bitmaps;
    quint32 offset = 6 + 16 * quint32(images.size());
    for (const IconImage& entry : images) {
        bitmaps.push_back(deviceIndependentBitmap(entry.image, entry.bitsPerPixel));
        out.append(char(entry.image.width() >= 256 ? 0 : entry.image.width()));
        out.append(char(entry.image.height() >= 256 ? 0 : entry.image.height()));
        out.append('\0'); // no palette
        out.append('\0');
        if (type == 2) {
            appendWord(out, quint16(entry.hotspot.x()));
            appendWord(out, quint16(entry.hotspot.y()));
        } else {
            appendWord(out, 1); // planes
            appendWord(out, quint16(entry.bitsPerPixel));
        }
        appendDoubleWord(out, quint32(bitmaps.back().size()));
        appendDoubleWord(out, offset);
        offset += quint32(bitmaps.back().size());
    }
    for (const QByteArray& bitmap : bitmaps)
        out.append(bitmap);
    return out;
}

// The hand is drawn on a 32-pixel grid and scaled to each picture size of the cursor file.
constexpr int kHandGrid = 32;
constexpr QPointF kFingertip(8, 1);

// A pointing hand, index finger up, its tip at the fingertip point of the grid.
QImage drawHand(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(6.5, 0.5, 4, 15), 2, 2);         // index finger
    hand.addRoundedRect(QRectF(10.5, 7.5, 4, 9), 2, 2);         // middle finger
    hand.addRoundedRect(QRectF(14.5, 8.5, 4, 8), 2, 2);         // ring finger
    hand.addRoundedRect(QRectF(18.5, 9.5, 3.5, 7), 1.75, 1.75); // little finger
    hand.addRoundedRect(QRectF(6.5, 12.5, 15.5, 11), 4, 4);     // palm
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2, -2, 4, 10), 2, 2);
    hand.addPath(QTransform().translate(5, 12).rotate(-40).map(thumb));
    hand.setFillRule(Qt::WindingFill);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / kHandGrid, qreal(size) / kHandGrid);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(hand.simplified());
    painter.setPen(QPen(QColor(0, 0, 0, 150), 0.8)); // the creases between the fingers
    for (const qreal x : {10.5, 14.5, 18.5})
        painter.drawLine(QPointF(x, 11), QPointF(x, 15));
    return image;
}

// The hand at the sizes that stand beside the desktop's arrow at 100 %, 150 % and 200 %, each with its hotspot.
std::vector<IconImage> handPictures()
{
    std::vector<IconImage> pictures;
    for (const int size : {32, 48, 64}) {
        const QPointF tip = kFingertip * size / kHandGrid;
        pictures.push_back({drawHand(size), 32, QPoint(qRound(tip.x()), qFloor(tip.y()))});
    }
    return pictures;
}

// The program's icon: a location pin with a magnifying glass, on a blue tile.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);

    QLinearGradient tile(0, 0, 0, 256);
    tile.setColorAt(0, QColor(0x2f, 0x80, 0xed));
    tile.setColorAt(1, QColor(0x1b, 0x4d, 0xa8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    QPainterPath pin;
    pin.moveTo(104, 214);
    pin.cubicTo(60, 160, 44, 130, 44, 100);
    pin.arcTo(QRectF(44, 40, 120, 120), 180, -180);
    pin.cubicTo(164, 130, 148, 160, 104, 214);
    painter.setBrush(Qt::white);
    painter.drawPath(pin);
    painter.setBrush(QColor(0x1b, 0x4d, 0xa8));
    painter.drawEllipse(QPointF(104, 100), 24, 24);

    painter.setPen(QPen(QColor(0xff, 0xb8, 0x1c), 22, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(196, 196), QPointF(224, 224));
    painter.setPen(QPen(QColor(0xff, 0xb8, 0x1c), 14));
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.drawEllipse(QPointF(170, 170), 34, 34);
    return image;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Every picture of an icon file as Qt's own reader of icon files gives it, one after another; empty when the file
// cannot be read whole.
QByteArray iconPixels(const QString& iconPath)
{
    QImageReader reader(iconPath, "ico");
    QByteArray out;
    for (int picture = 0; picture < reader.imageCount(); ++picture) {
        if (!reader.jumpToImage(picture))
            return {};
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return {};
        appendDoubleWord(out, quint32(image.width()));
        appendDoubleWord(out, quint32(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                appendDoubleWord(out, row[x]);
        }
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: make_pictures OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QCoreApplication application(argc, argv); // for the image format plug-in that reads icon files
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("hicolor")))
        return 1;

    bool written = writeFile(out.filePath(QStringLiteral("HAND-M.CUR")), iconFile(2, handPictures()));
    written = written && writeFile(out.filePath(QStringLiteral("bazaarly.ico")), iconFile(1, {{drawIcon(32), 24, {}},
                                                                                              {drawIcon(256), 32, {}},
                                                                                              {drawIcon(128), 32, {}},
                                                                                              {drawIcon(48), 32, {}},
                                                                                              {drawIcon(24), 32, {}},
                                                                                              {drawIcon(20), 32, {}},
                                                                                              {drawIcon(16), 32, {}}}));
    const QByteArray pixels = iconPixels(out.filePath(QStringLiteral("bazaarly.ico")));
    written = written && !pixels.isEmpty() && writeFile(out.filePath(QStringLiteral("bazaarly-icon.pixels")), pixels);
    for (const int size : {32, 48, 128, 256})
        written = written && drawIcon(size).save(out.filePath(QStringLiteral("hicolor/%1.png").arg(size)));
    if (!written) {
        std::fputs("make_pictures: could not write the pictures\n", stderr);
        return 1;
    }
    return 0;
}
