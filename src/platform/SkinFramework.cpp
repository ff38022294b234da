#include "SkinFramework.h"

#include "Failure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QWidget>

namespace {

// Skins are small; anything larger than this is not one.
constexpr qint64 kLargestSkin = 1 << 20;

Failure unusableSkin(const QString& path, const QString& why)
{
    return Failure(QStringLiteral("The skin \"%1\" cannot be used: %2.").arg(QDir::toNativeSeparators(path), why));
}

QString readSkinText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw unusableSkin(path, file.errorString());
    if (file.size() > kLargestSkin)
        throw unusableSkin(path, QStringLiteral("the file is larger than a skin can be"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(file.readAll());
    if (utf8.hasError())
        throw unusableSkin(path, QStringLiteral("the file is not UTF-8 text"));
    return text;
}

// Whether a text can serve as a style sheet: printable text, braces balanced, and at least one rule.
bool isUsableStyleSheet(const QString& text)
{
    int depth = 0;
    bool hasRule = false;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control && !c.isSpace())
            return false;
        if (c == QLatin1Char('{')) {
            ++depth;
        } else if (c == QLatin1Char('}')) {
            if (--depth < 0)
                return false;
            hasRule = true;
        }
    }
    return depth == 0 && hasRule;
}

} // namespace

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

void SkinFramework::loadSkin(const QString& path, const QString& schemeName)
{
    if (!schemeName.isEmpty())
        throw unusableSkin(path, QStringLiteral("it has no colour scheme named \"%1\"").arg(schemeName));
    QString text = readSkinText(path);
    if (!isUsableStyleSheet(text))
        throw unusableSkin(path, QStringLiteral("it is not a style sheet"));
    m_styleSheet = std::move(text);
}

void SkinFramework::applyWindow(QWidget& window)
{
    if (m_styleSheet.isEmpty())
        throw Failure(QStringLiteral("No skin has been loaded."));
    if (m_uniformStyle)
        QApplication::setStyle(QStringLiteral("Fusion"));
    if (m_smoothText) {
        QFont font = window.font();
        font.setStyleStrategy(QFont::PreferAntialias);
        window.setFont(font);
    }
    if (m_options & SkinMessageBoxes)
        qApp->setStyleSheet(m_styleSheet);
    else
        window.setStyleSheet(m_styleSheet);
}
