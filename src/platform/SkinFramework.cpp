// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinFramework.h"

#include "Failure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QWidget>

#include <algorithm>

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

// What the skin check needs to know of a style sheet, read as Qt's parser reads it: braces and file references
// count only outside comments and quoted strings.
struct SheetOutline
{
    bool balanced = true;
    bool hasRule = false;
    QStringList files; // the targets of url(...) references
};

// The index just past the quoted string that starts at `start`; a backslash escapes the next character.
qsizetype skipString(QStringView text, qsizetype start)
{
    const QChar quote = text[start];
    for (qsizetype i = start + 1; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\'))
            ++i;
        else if (text[i] == quote)
            return i + 1;
    }
    return text.size();
}

// Reads the target of a url( reference whose parenthesis ends at `start`; returns the index past the reference.
qsizetype readUrl(QStringView text, qsizetype start, QStringList& files)
{
    qsizetype end = text.indexOf(QLatin1Char(')'), start);
    if (end < 0)
        end = text.size();
    QStringView target = text.sliced(start, end - start).trimmed();
    if (target.size() >= 2 && (target.front() == QLatin1Char('"') || target.front() == QLatin1Char('\'')) &&
        target.back() == target.front())
        target = target.sliced(1, target.size() - 2);
    files.append(target.toString());
    return end + 1;
}

SheetOutline outlineOf(QStringView text)
{
    SheetOutline outline;
    int depth = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (text.sliced(i).startsWith(QLatin1String("/*"))) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? text.size() : end + 2;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            i = skipString(text, i);
        } else if (text.sliced(i).startsWith(QLatin1String("url("), Qt::CaseInsensitive)) {
            i = readUrl(text, i + 4, outline.files);
        } else {
            if (c == QLatin1Char('{')) {
                ++depth;
            } else if (c == QLatin1Char('}')) {
                outline.balanced = outline.balanced && --depth >= 0;
                outline.hasRule = true;
            }
            ++i;
        }
    }
    outline.balanced = outline.balanced && depth == 0;
    return outline;
}

bool isPrintable(const QString& text)
{
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control && !c.isSpace(); });
}

// A file the sheet refers to that is there but is no regular file (a named pipe, a device, a folder) would hang
// or fail the drawing of the window.
void checkReferencedFiles(const QString& path, const QStringList& files)
{
    for (const QString& file : files) {
        const QFileInfo target(file);
        if (!file.startsWith(QLatin1Char(':')) && target.exists() && !target.isFile())
            throw unusableSkin(
                path,
                QStringLiteral("it refers to \"%1\", which is not a regular file").arg(QDir::toNativeSeparators(file)));
    }
}

} // namespace

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

void SkinFramework::loadSkin(const QString& path, const QString& schemeName)
{
    if (!schemeName.isEmpty())
        throw unusableSkin(path, QStringLiteral("it has no colour scheme named \"%1\"").arg(schemeName));
    QString text = readSkinText(path);
    const SheetOutline outline = outlineOf(text);
    if (!isPrintable(text) || !outline.balanced || !outline.hasRule)
        throw unusableSkin(path, QStringLiteral("it is not a style sheet"));
    checkReferencedFiles(path, outline.files);
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
