// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QSysInfo>
#include <QtEndian>


QImage storedPicture(const uchar* pixels, int width, int height)
{
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian && quintptr(pixels) % alignof(quint32) == 0)
        return QImage(pixels, width, height, QImage::Format_ARGB32_Premultiplied);
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    qFromLittleEndian<quint32>(pixels, qsizetype(width) * height, picture.bits());
    return picture;
}

QIcon programIcon()
{
    // The pictures of the program's icon file as Qt reads them, decoded when the program was built and stored in it
    // uncompressed (tools/make_pictures): each is its width and height, then its premultiplied pixels, all in
    // little-endian 32-bit words. Reading the icon file itself cost a tenth of the start-up's own work.
    const QResource pixels(QStringLiteral(":/icons/bazaarly-icon.pixels"));
    const uchar* at = pixels.data();
    const uchar* const end = at + pixels.size();
    QIcon icon;
    while (end - at >= 8) {
        const int width = int(qFromLittleEndian<quint32>(at));
        const int height = int(qFromLittleEndian<quint32>(at + 4));
        at += 8;
        if (end - at < qsizetype(width) * height * 4)
            break;
        icon.addPixmap(QPixmap::fromImage(storedPicture(at, width, height)));
        at += qsizetype(width) * height * 4;
    }
    return icon;
}
