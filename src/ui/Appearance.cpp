// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

#include <utility>

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
        QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
        qFromLittleEndian<quint32>(at, qsizetype(width) * height, picture.bits());
        icon.addPixmap(QPixmap::fromImage(std::move(picture)));
        at += qsizetype(width) * height * 4;
    }
    return icon;
}
