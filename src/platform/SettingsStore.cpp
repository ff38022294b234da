#include "SettingsStore.h"

#include "Failure.h"

#include <QDir>
#include <QSettings>

namespace {
const QString kOrganisation = QStringLiteral("Quillmark");
const QString kSection = QStringLiteral("Bazaarly Lookup Across Many Towns Utility");

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kSection))
{
}

SettingsStore::SettingsStore(const QString& path) : m_settings(std::make_unique<QSettings>(path, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::readText(const QString& key) const
{
    // A file with malformed lines elsewhere still gives the value, so only a store that cannot be read fails.
    if (m_settings->status() == QSettings::AccessError)
        throw Failure(QStringLiteral("The settings store %1 cannot be read.").arg(location()));
    const QVariant value = m_settings->value(key);
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return value.toString();
    case QMetaType::QStringList:
        // An INI value typed by hand with unquoted commas reads back as a list, its blanks around the commas
        // trimmed: give back the text as it is usually written, each comma followed by one blank.
        return value.toStringList().join(QLatin1String(", "));
    default:
        throw Failure(QStringLiteral("The setting \"%1\" in %2 is not text.").arg(key, location()));
    }
}

void SettingsStore::writeText(const QString& key, const QString& value)
{
    m_settings->setValue(key, value);
    m_settings->sync();
    // A format error is left over from reading malformed lines elsewhere in the file; the write itself
    // succeeded (and tidied those lines). Only an access error means the value did not reach the store.
    if (m_settings->status() == QSettings::AccessError)
        throw Failure(QStringLiteral("The settings store %1 cannot be written.").arg(location()));
}

QString SettingsStore::location() const
{
    return QDir::toNativeSeparators(m_settings->fileName());
}
