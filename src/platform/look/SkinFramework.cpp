// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/SkinFramework.h"

#include "platform/base/Failure.h"
#include "platform/base/RegularFile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
    bool certain = true; // the sheet has none of the forms in which Qt could read a file name this check does not see
    QStringList files;   // the targets of url(...) references
};

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// The index just past the quoted string that starts at `start`. The sheet holds no backslash by now, so nothing
// escapes the closing quote. A string ends with its line: one that does not close there is no string to Qt's
// scanner, which reads on in a way this check does not follow, so it leaves the outline uncertain.
qsizetype skipString(QStringView text, qsizetype start, SheetOutline& outline)
{
    for (qsizetype at = start + 1; at < text.size(); ++at) {
        if (text[at] == text[start])
            return at + 1;
        if (isLineBreak(text[at]))
            break;
    }
    outline.certain = false;
    return text.size();
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || isLineBreak(c);
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

qsizetype skipBlanks(QStringView text, qsizetype at)
{
    while (at < text.size() && isBlank(text[at]))
        ++at;
    return at;
}

// Reads the target of a url( reference whose parenthesis ends at `start`, as Qt's scanner takes the two forms of
// it: a quoted string on one line, or a run of characters without blanks, quotes or parentheses, each with blanks
// around it and the closing parenthesis after. Anything else leaves the outline uncertain. Returns the index past
// the reference.
qsizetype readUrl(QStringView text, qsizetype start, SheetOutline& outline)
{
    qsizetype at = skipBlanks(text, start);
    QStringView target;
    if (at < text.size() && isQuote(text[at])) {
        const qsizetype end = skipString(text, at, outline);
        target = text.sliced(at + 1, qMax<qsizetype>(end - at - 2, 0));
        at = end;
    } else {
        const qsizetype begin = at;
        while (at < text.size() && !isBlank(text[at]) && !isQuote(text[at]) && text[at] != QLatin1Char(')') &&
               text[at] != QLatin1Char('('))
            ++at;
        target = text.sliced(begin, at - begin);
    }
    at = skipBlanks(text, at);
    if (at >= text.size() || text[at] != QLatin1Char(')')) {
        outline.certain = false;
        return at;
    }
    outline.files.append(target.toString());
    return at + 1;
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
            outline.certain = outline.certain && end >= 0;
            i = end < 0 ? text.size() : end + 2;
        } else if (isQuote(c)) {
            i = skipString(text, i, outline);
        } else if (text.sliced(i).startsWith(QLatin1String("url("), Qt::CaseInsensitive)) {
            i = readUrl(text, i + 4, outline);
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
        if (!file.startsWith(QLatin1Char(':')) && holdsOtherThanARegularFile(file))
            throw unusableSkin(
                path,
                QStringLiteral("it refers to \"%1\", which is not a regular file").arg(QDir::toNativeSeparators(file)));
    }
}

// Qt tells of a style sheet it cannot parse only with a warning, and then draws without it. While it lives, this
// takes those warnings so that the skin can be refused with a report; every other message goes on as before.
class SheetRefusalWatch final
{
public:
    SheetRefusalWatch()
    {
        s_refused = false;
        s_previous = qInstallMessageHandler(&take);
    }
    ~SheetRefusalWatch() { qInstallMessageHandler(s_previous); }
    SheetRefusalWatch(const SheetRefusalWatch&) = delete;
    SheetRefusalWatch& operator=(const SheetRefusalWatch&) = delete;

    bool refused() const { return s_refused; }

private:
    static void take(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtWarningMsg && message.startsWith(QLatin1String("Could not parse"))) {
            s_refused = true;
            return;
        }
        if (s_previous)
            s_previous(type, context, message);
    }

    static inline bool s_refused = false;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

void SkinFramework::loadSkin(const QString& path, const QString& schemeName)
{
    if (!schemeName.isEmpty())
        throw unusableSkin(path, QStringLiteral("it has no colour scheme named \"%1\"").arg(schemeName));
    QString text = readSkinText(path);
    // Qt decodes backslash escapes anywhere in a sheet before it reads it, so an escape could spell a file name,
    // a url( or the end of a comment that this check would read otherwise.
    if (text.contains(QLatin1Char('\\')))
        throw unusableSkin(path, QStringLiteral("it holds a backslash escape, which could name files the skin check "
                                                "cannot follow"));
    const SheetOutline outline = outlineOf(text);
    if (!isPrintable(text) || !outline.balanced || !outline.hasRule)
        throw unusableSkin(path, QStringLiteral("it is not a style sheet"));
    if (!outline.certain)
        throw unusableSkin(path, QStringLiteral("it has an unclosed string or comment or a url(...) of a form that "
                                                "the skin check cannot follow"));
    checkReferencedFiles(path, outline.files);
    m_path = path;
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
    const SheetRefusalWatch watch;
    setSheet(window, m_styleSheet);
    window.ensurePolished(); // Qt parses the sheet as it dresses the controls
    if (watch.refused()) {
        setSheet(window, QString());
        throw unusableSkin(m_path, QStringLiteral("Qt cannot read it as a style sheet"));
    }
}

void SkinFramework::setSheet(QWidget& window, const QString& sheet) const
{
    if (m_options & SkinMessageBoxes)
        qApp->setStyleSheet(sheet);
    else
        window.setStyleSheet(sheet);
}
