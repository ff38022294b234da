// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor files: any bytes are read as a cursor or refused with a Failure, never a crash, and a picture that is
// read has its hotspot inside it.
#include "platform/base/Failure.h"
#include "platform/look/CursorFile.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The picture is decoded by Qt's image plugins, which need an application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const CursorPicture picture = readCursorPicture(
            QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz.cur"));
        if (picture.image.isNull() || !picture.image.rect().contains(picture.hotspot))
            std::abort();
    } catch (const Failure&) {
    }
    return 0;
}
