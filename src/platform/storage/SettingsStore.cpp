// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/storage/SettingsStore.h"

#include "platform/base/Failure.h"
#include "platform/base/RegularFile.h"
#include "platform/storage/PreviousFile.h"
#include "platform/storage/RawSettingsFile.h"
#include "platform/storage/SettingsFileText.h"
#include "platform/storage/UserFolders.h"
#include "platform/storage/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QStringDecoder>

#include <filesystem>
#include <optional>
#include <system_error>
#if defined(Q_OS_WIN)
#include "platform/storage/WindowsRegistry.h"
#endif

namespace {

Failure cannotBeWritten(const QString& location, const QString& why = QString())
{
    return Failure(QStringLiteral("The settings store %1 cannot be written%2.").arg(location, why));
}

Failure notText(const QString& key, const QString& location)
{
    return Failure(QStringLiteral("The setting \"%1\" in %2 is not text.").arg(key, location));
}

// A value stored as bytes is text only when they are UTF-8: any other byte would be read as U+FFFD, and the next
// save would store that in its place for good.
QString textOfBytes(const QByteArray& bytes, const QString& key, const QString& location)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        throw Failure(QStringLiteral("The setting \"%1\" in %2 is not text: it holds bytes that are not UTF-8.")
                          .arg(key, location));
    return text;
}

const QString kWrittenSuffix = QStringLiteral(".written");

// A second link to a file, under a name of its own, for as long as this lives; a copy where the file system has
// no links.
class SecondName final
{
public:
    SecondName(const QString& file, const QString& suffix) : m_path(file + suffix)
    {
        QFile::remove(m_path); // left behind by a program that died while saving
        std::error_code error;
        std::filesystem::create_hard_link(QFileInfo(file).filesystemAbsoluteFilePath(),
                                          QFileInfo(m_path).filesystemAbsoluteFilePath(), error);
        m_made = !error || QFile::copy(file, m_path);
    }
    ~SecondName() { QFile::remove(m_path); }
    SecondName(const SecondName&) = delete;
    SecondName& operator=(const SecondName&) = delete;

    bool made() const { return m_made; }
    QString path() const { return m_path; }

private:
    QString m_path;
    bool m_made = false;
};

#if defined(Q_OS_WIN)
// The user's registry store is read and written as Windows keeps it: a value of another type is reported as not
// text and left as it is, and the text is stored exactly as the list's value, with nothing of QSettings' own.
const QString kUserRegistryRoot = QStringLiteral("HKEY_CURRENT_USER\\");

QString readRegistryText(const QString& location, const QString& key)
{
    WindowsRegistry::Value value;
    if (!WindowsRegistry::read(location.mid(kUserRegistryRoot.size()), key, value))
        throw Failure(QStringLiteral("The settings store %1 cannot be read.").arg(location));
    switch (value.kind) {
    case WindowsRegistry::Kind::Absent:
        return {};
    case WindowsRegistry::Kind::Text:
        return value.text;
    case WindowsRegistry::Kind::NotText:
        break;
    case WindowsRegistry::Kind::NulInText:
        throw Failure(
            QStringLiteral("The setting \"%1\" in %2 is not text: it holds a NUL character.").arg(key, location));
    }
    throw notText(key, location);
}

void writeRegistryText(const QString& location, const QString& key, const QString& text)
{
    const QString registryKey = location.mid(kUserRegistryRoot.size());
    WindowsRegistry::Value stored;
    if (WindowsRegistry::read(registryKey, key, stored) && stored.kind == WindowsRegistry::Kind::Text &&
        stored.text == text)
        return;
    // Judged by what was stored, not by what Windows answered.
    if (!WindowsRegistry::writeText(registryKey, key, text) || !WindowsRegistry::read(registryKey, key, stored) ||
        stored.kind != WindowsRegistry::Kind::Text || stored.text != text)
        throw cannotBeWritten(location);
}

// A copy under a name of its own: one kept by an earlier start is never written over.
QString keepRegistryCopy(const QString& location, const QString& key, const QString& copySuffix)
{
    const QString registryKey = location.mid(kUserRegistryRoot.size());
    QString copyKey = key + copySuffix;
    for (int n = 2; WindowsRegistry::exists(registryKey, copyKey); ++n)
        copyKey = key + copySuffix + QLatin1Char('-') + QString::number(n);
    if (!WindowsRegistry::copy(registryKey, key, copyKey))
        throw cannotBeWritten(location);
    return QStringLiteral("the value \"%1\" in %2").arg(copyKey, location);
}
#endif

} // namespace

SettingsStore::SettingsStore(const SettingsStoreNames& names)
    : m_names(names), m_format(QSettings::NativeFormat), m_homeFolder(userHomeFolder())
{
    // Opened by its own path, the store is read alone: QSettings opened by maker and section also reads the
    // maker-wide and system-wide stores, and fails when any of those cannot be read.
#if defined(Q_OS_WIN)
    m_path = QStringLiteral("HKEY_CURRENT_USER\\Software\\") + names.maker + QLatin1Char('\\') + names.section;
#elif !defined(Q_OS_MACOS)
    m_path = userFileIn(userConfigFolder(), names);
    m_file = m_path;
#endif
}

SettingsStore::SettingsStore(const QString& path, const SettingsStoreNames& names)
    : SettingsStore(path, userHomeFolder(), names)
{
}

SettingsStore::SettingsStore(const QString& path, const QString& homeFolder, const SettingsStoreNames& names)
    : m_names(names), m_format(QSettings::IniFormat), m_path(path), m_file(path), m_homeFolder(homeFolder)
{
}

void SettingsStore::setLockTimes(int waitMs, int staleMs)
{
    m_lockWaitMs = waitMs;
    m_staleLockMs = staleMs;
}

QString SettingsStore::userFileIn(const QString& configFolder, const SettingsStoreNames& names)
{
    // Where QSettings keeps a user's native settings on Linux and the other Unix systems.
    return configFolder + QLatin1Char('/') + names.maker + QLatin1Char('/') + names.section + QLatin1String(".conf");
}

std::unique_ptr<QSettings> SettingsStore::open() const
{
    auto settings = m_path.isEmpty()
                        ? std::make_unique<QSettings>(m_format, QSettings::UserScope, m_names.maker, m_names.section)
                        : std::make_unique<QSettings>(m_path, m_format);
    settings->setFallbacksEnabled(false);
    return settings;
}

QString SettingsStore::location() const
{
#if defined(Q_OS_WIN)
    // QSettings names a registry key with a leading backslash, which no registry tool of Windows shows.
    if (m_file.isEmpty())
        return m_path;
#endif
    return QDir::toNativeSeparators(m_file.isEmpty() ? open()->fileName() : m_file);
}

QStringList SettingsStore::recoveryFolders() const
{
    QStringList folders;
    if (!m_file.isEmpty())
        folders.append(QFileInfo(m_file).absolutePath());
    folders.append(m_homeFolder);
    folders.removeDuplicates();
    return folders;
}

void SettingsStore::checkFileCanBeOpened() const
{
    // Opening a named pipe or a device would wait for a writer that never comes.
    if (!m_file.isEmpty() && holdsOtherThanARegularFile(m_file))
        throw Failure(QStringLiteral("The settings store %1 is not a file.").arg(location()));
}

RawSettingsFile SettingsStore::checkFileCanBeDecoded(const QString& key) const
{
    RawSettingsFile raw(m_file, key);
    if (!raw.canBeDecoded())
        throw Failure(QStringLiteral("The settings store %1 cannot be read: it holds an encoded value too large to "
                                     "be decoded safely.")
                          .arg(location()));
    return raw;
}

QString SettingsStore::readText(const QString& key)
{
#if defined(Q_OS_WIN)
    if (m_file.isEmpty())
        return readRegistryText(m_path, key);
#endif
    checkFileCanBeOpened();
    if (!m_file.isEmpty())
        RawSettingsFile::reserveMemoryToDecode(QFileInfo(m_file).size());
    const RawSettingsFile raw = checkFileCanBeDecoded(key);
    // QSettings keeps what it read of a file, and gives it again for a file of the same size and time, as a file
    // rewritten within the time its file system tells apart may be: once it has read the file, the file is read
    // through a name never read before.
    static QSet<QString> readUnderTheirNames;
    static int reads = 0;
    std::optional<SecondName> alias;
    if (!m_file.isEmpty() && readUnderTheirNames.contains(m_file))
        alias.emplace(m_file, QStringLiteral(".read-%1-%2").arg(QCoreApplication::applicationPid()).arg(++reads));
    readUnderTheirNames.insert(m_file);
    const std::unique_ptr<QSettings> settings =
        alias && alias->made() ? std::make_unique<QSettings>(alias->path(), QSettings::IniFormat) : open();
    const QVariant value = settings->value(key); // the file is parsed here, and its status known
    // A file with malformed lines elsewhere still gives the value, so only a store that cannot be read fails,
    // or one where QSettings found nothing it could make sense of (a file in UTF-16, say): its list is not
    // known to be empty.
    if (settings->status() == QSettings::AccessError)
        throw Failure(QStringLiteral("The settings store %1 cannot be read.").arg(location()));
    m_readNoSettingsFile = settings->status() == QSettings::FormatError && !settings->contains(key);
    if (m_readNoSettingsFile)
        throw Failure(QStringLiteral("The settings store %1 cannot be read: it is not a settings file as this "
                                     "program writes them.")
                          .arg(location()));
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        if (settings->contains(key)) // stored, but not in a form that can be decoded
            throw notText(key, location());
        return {};
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QByteArray:
        return textOfBytes(value.toByteArray(), key, location());
    case QMetaType::QStringList:
        // An INI value typed by hand with unquoted commas reads back as a list, its blanks around the commas
        // trimmed: give back the text as it is usually written, each comma followed by one blank. A list that
        // was stored encoded is no text the user wrote.
        if (raw.keyHoldsEncodedValue())
            throw notText(key, location());
        return value.toStringList().join(QLatin1String(", "));
    default:
        throw notText(key, location());
    }
}

std::unique_ptr<QLockFile> SettingsStore::takeTheLock() const
{
    if (m_file.isEmpty())
        return nullptr;
    if (!QDir().mkpath(QFileInfo(m_file).absolutePath()))
        throw cannotBeWritten(location(), QStringLiteral(": its folder cannot be made"));
    // The lock QSettings takes while it writes the file.
    const QString lockPath = m_file + QLatin1String(".lock");
    const QString cannotBeTaken =
        QStringLiteral(": its lock %1 cannot be taken").arg(QDir::toNativeSeparators(lockPath));
    // Nobody lets go of a folder or any other non-file in the lock's place: waiting for it would be in vain.
    const QFileInfo inItsPlace(lockPath);
    if (inItsPlace.exists() && !inItsPlace.isFile())
        throw cannotBeWritten(location(), cannotBeTaken + QStringLiteral(" (something other than a file is there)"));
    auto lock = std::make_unique<QLockFile>(lockPath);
    lock->setStaleLockTime(m_staleLockMs);
    if (!lock->tryLock(m_lockWaitMs))
        throw cannotBeWritten(location(), cannotBeTaken);
    return lock;
}

void SettingsStore::startAfreshIfItCannotBeDecoded(const QString& key)
{
    try {
        checkFileCanBeDecoded(key);
    } catch (const Failure& failure) {
        // QSettings would crash reading the file back before writing it. Once a copy of it has been kept, the
        // list can go into a new file; until then the file stays as it is.
        if (!m_fileCopied || !QFile::remove(m_file))
            throw cannotBeWritten(location(), QStringLiteral(": ") + failure.description());
        m_fileCopied = false; // the copy was of the file just removed
        return;
    }
    // A file QSettings could make nothing of (one in UTF-16, say) would leave in the new file whatever QSettings
    // made of its bytes: once it has been copied, the new file holds only what the program writes.
    if (m_fileCopied && m_readNoSettingsFile && QFile::remove(m_file))
        m_fileCopied = false;
}

bool SettingsStore::holds(const QString& key, const QString& value) const
{
    const auto isTheValue = [&](const QVariant& stored) {
        return stored.typeId() == QMetaType::QString && stored == value;
    };
    if (m_file.isEmpty())
        return isTheValue(open()->value(key));
    // QSettings remembers what it wrote, and a reader of the same file would be given that rather than what is
    // on the disk: the file is read back through a name of its own, a second link to it.
    const SecondName alias(m_file, kWrittenSuffix);
    return alias.made() && isTheValue(QSettings(alias.path(), QSettings::IniFormat).value(key));
}

void SettingsStore::failWrite(PreviousFile* previous, bool refused) const
{
    if (previous && !previous->putBack())
        throw cannotBeWritten(location(), QStringLiteral(": the new list did not reach it whole, and the list "
                                                         "stored before is in %1")
                                              .arg(QDir::toNativeSeparators(previous->keptAt())));
    if (refused)
        throw cannotBeWritten(location());
    throw cannotBeWritten(location(), QStringLiteral(": the new list did not reach it whole (the disk may be full), "
                                                     "so the list stored before has been kept"));
}

void SettingsStore::writeText(const QString& key, const QString& value)
{
#if defined(Q_OS_WIN)
    if (m_file.isEmpty())
        return writeRegistryText(m_path, key, value);
#endif
    checkFileCanBeOpened();
    if (!QStringView(value).isValidUtf16()) // QSettings would write U+FFFD, and the read-back would fail
        throw cannotBeWritten(location(), QStringLiteral(": the value \"%1\" holds half of a character (an unpaired "
                                                         "UTF-16 surrogate), which a settings file cannot hold")
                                              .arg(key));
    startAfreshIfItCannotBeDecoded(key);
    if (writeUsualFile(key, value))
        return;
    const std::unique_ptr<QSettings> settings = open();
    const QVariant stored = settings->value(key);
    // Rewriting a long value costs far more than reading it (Qt's writer takes it a character at a time).
    if (settings->status() == QSettings::NoError && stored.typeId() == QMetaType::QString && stored == value)
        return;
    takeTheLock(); // and let go at once: QSettings takes it itself, and would wait forever for it
    std::optional<PreviousFile> previous;
    if (!m_file.isEmpty())
        previous.emplace(m_file);
    settings->setValue(key, value);
    settings->sync();
    // QSettings says nothing of a write cut short (a full disk, a file size limit, a quota) and puts the torn
    // file in place all the same: the save is judged by what the store holds afterwards.
    if (settings->status() != QSettings::AccessError && holds(key, value))
        return;
    failWrite(previous ? &*previous : nullptr, settings->status() == QSettings::AccessError);
}

// A file that holds nothing but `key`, or none, is written here byte for byte as QSettings would write it, and
// judged by its bytes; false, with nothing done, for any other file and for a value QSettings might write otherwise.
// QSettings is not asked what the file holds: it would keep what it read, and give it again for a file rewritten
// at the same size within the time its file system tells apart.
bool SettingsStore::writeUsualFile(const QString& key, const QString& value)
{
    if (m_file.isEmpty())
        return false;
    const std::optional<QByteArray> contents = SettingsFileText::encode(key, value);
    const std::optional<QByteArray> before = readWholeFile(m_file);
    const bool absent = !before && !QFileInfo::exists(m_file);
    if (!contents || !(absent || (before && SettingsFileText::holdsOnly(*before, key))))
        return false;
    if (before == contents)
        return true;
    const std::unique_ptr<QLockFile> lock = takeTheLock();
    if (readWholeFile(m_file) != before) // another program wrote it meanwhile: it is QSettings' to merge
        return false;
    PreviousFile previous(m_file);
    const bool written = replaceFile(*contents);
    if (!written || readWholeFile(m_file) != contents)
        failWrite(&previous, !written);
    return true;
}

// Replaces the file whole or not at all, as QSettings does; false when it could not.
bool SettingsStore::replaceFile(const QByteArray& contents) const
{
    const bool created = !QFileInfo::exists(m_file);
    // QSettings writes no file it cannot open to write, though it replaces rather than writes it.
    if (!created && !QFile(m_file).open(QIODevice::ReadWrite))
        return false;
    if (!replaceWholeFile(m_file, contents))
        return false;
    if (created) // QSettings makes sure a file it created can be read and written by its owner
        QFile::setPermissions(m_file, QFileInfo(m_file).permissions() | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

QString SettingsStore::keepCopy(const QString& key)
{
#if defined(Q_OS_WIN)
    if (m_file.isEmpty())
        return keepRegistryCopy(m_path, key, m_names.copySuffix);
#endif
    checkFileCanBeOpened();
    if (m_file.isEmpty()) {
        const QString copyKey = key + m_names.copySuffix;
        const std::unique_ptr<QSettings> settings = open();
        settings->setValue(copyKey, settings->value(key));
        settings->sync();
        if (settings->status() != QSettings::NoError)
            throw cannotBeWritten(location());
        return QStringLiteral("the value \"%1\" in %2").arg(copyKey, location());
    }
    QString copy = m_file + m_names.copySuffix;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = m_file + m_names.copySuffix + QLatin1Char('-') + QString::number(n);
    if (!QFile::copy(m_file, copy))
        throw Failure(QStringLiteral("The settings store %1 could not be copied to %2.")
                          .arg(location(), QDir::toNativeSeparators(copy)));
    m_fileCopied = true;
    return QDir::toNativeSeparators(copy);
}
