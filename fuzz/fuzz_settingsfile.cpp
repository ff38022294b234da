// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file the program writes and reads itself: any text it writes is QSettings' file to the byte and
// reads back through QSettings as the text, and any file it reads gives what QSettings reads from it, and is
// known to be as written only when it is.
#include "platform/storage/SettingsFileText.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

const QString kKey = QStringLiteral("Searches");

// A file name not used before: QSettings keeps what it read of a file and gives it again while the file's size
// and time stay the same.
QString freshPath()
{
    static QTemporaryDir folder;
    static int count = 0;
    return folder.filePath(QString::number(++count) + QStringLiteral(".ini"));
}

QVariant readByQSettings(const QByteArray& file)
{
    const QString path = freshPath();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        std::abort();
    out.close();
    const QVariant value = QSettings(path, QSettings::IniFormat).value(kKey);
    QFile::remove(path);
    return value;
}

QByteArray writtenByQSettings(const QString& value)
{
    const QString path = freshPath();
    QSettings(path, QSettings::IniFormat).setValue(kKey, value);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray file = in.readAll();
    QFile::remove(path);
    return file;
}

void checkDecoding(const QByteArray& file)
{
    const std::optional<SettingsFileText::Decoded> decoded = SettingsFileText::decode(file, kKey);
    if (!decoded)
        return;
    const QVariant byQSettings = readByQSettings(file);
    if (byQSettings.typeId() != QMetaType::QString || byQSettings.toString() != decoded->text)
        std::abort();
    // Said to be as written exactly when the writer gives these very bytes for the text.
    const std::optional<QByteArray> written = SettingsFileText::encode(kKey, decoded->text);
    if (decoded->asWritten != (written == file))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The bytes as any text at all, unpaired surrogates included.
    const QString text(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    if (const std::optional<QByteArray> encoded = SettingsFileText::encode(kKey, text)) {
        const std::optional<SettingsFileText::Decoded> decoded = SettingsFileText::decode(*encoded, kKey);
        if (*encoded != writtenByQSettings(text) || !decoded || decoded->text != text || !decoded->asWritten)
            std::abort();
    }
    // The bytes as a value in the usual file, and as a whole file.
    checkDecoding("[General]\nSearches=" + bytes + '\n');
    checkDecoding(bytes);
    return 0;
}
