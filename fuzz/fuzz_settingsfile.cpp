// SPDX-License-Identifier: GPL-3.0-or-later
// Any settings file at all, as the store reads it: a value or a Failure, never a crash or a hang; and a value it
// reads, written back, reads the same, with the file's other settings kept.
#include "platform/base/Failure.h"
#include "platform/storage/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

const QString kKey = QStringLiteral("Searches");
const SettingsStoreNames kNames{QStringLiteral("Fuzz"), QStringLiteral("Store"), QStringLiteral(".copy")};

// A file name not used before: QSettings keeps what it read of a file and gives it again while the file's size
// and time stay the same.
QString freshPath()
{
    static QTemporaryDir folder;
    static int count = 0;
    return folder.filePath(QString::number(++count) + QStringLiteral(".ini"));
}

void checkFile(const QByteArray& bytes)
{
    const QString path = freshPath();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        std::abort();
    out.close();
    SettingsStore store(path, kNames);
    try {
        const QString value = store.readText(kKey);
        store.writeText(kKey, value + QStringLiteral("x|"));
        if (SettingsStore(path, kNames).readText(kKey) != value + QStringLiteral("x|"))
            std::abort();
    } catch (const Failure&) {
    } catch (const std::bad_alloc&) {
    }
    QFile::remove(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The bytes as a value in the usual file, and as a whole file.
    checkFile("[General]\nSearches=" + bytes + '\n');
    checkFile(bytes);
    return 0;
}
