// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/ErrorReportBox.h"

#include "platform/look/Accessibility.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QString>

namespace {

// A report of more lines than this (one that lists the searches it could not save) shows its start and its end
// around a line that says how many are left out, so that the box fits the screen; Ctrl+C copies every line.
constexpr qsizetype kMostLinesShown = 24;
constexpr qsizetype kEndLinesShown = 3; // where the failure happened, and whom to write to

QString fittingTheScreen(const QString& shown)
{
    const QStringList lines = shown.split(QLatin1Char('\n'));
    if (lines.size() <= kMostLinesShown)
        return shown;
    const qsizetype startLines = kMostLinesShown - kEndLinesShown - 1;
    const qsizetype leftOut = lines.size() - startLines - kEndLinesShown;
    return (lines.mid(0, startLines) +
            QStringList{QStringLiteral("... (%1 more lines: Ctrl+C copies the whole report)").arg(leftOut)} +
            lines.mid(lines.size() - kEndLinesShown))
        .join(QLatin1Char('\n'));
}

// The widest the report's text may be: lines up to this stay whole, longer ones wrap. Chosen so that the box,
// with its icon, margins and frame, fits a 1024 x 768 screen, and less on a smaller one.
constexpr int kWidestTextOnLargeScreens = 600;
constexpr double kShareOfScreenWidth = 0.6;
// A run of text without blanks longer than this may be broken inside it, every so many characters.
constexpr qsizetype kLongestUnbrokenRun = 8;
constexpr QChar kBreakOpportunity = u'\u200B';

// The text with an invisible break opportunity inside every long run without blanks (a file path, a long
// location line), so that word wrapping can break it instead of letting it run past the box's edge.
QString breakableText(const QString& text)
{
    QString breakable;
    breakable.reserve(text.size() + text.size() / kLongestUnbrokenRun);
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestUnbrokenRun) {
            breakable.append(kBreakOpportunity);
            run = 1;
        }
        breakable.append(c);
    }
    return breakable;
}

int widestAllowedText(const QWidget& box)
{
    const QScreen* screen = box.screen();
    if (!screen)
        return kWidestTextOnLargeScreens;
    const int screenWidth = screen->availableGeometry().width();
    return std::min(kWidestTextOnLargeScreens, static_cast<int>(screenWidth * kShareOfScreenWidth));
}

// The message box would wrap every line wider than about 500 pixels, breaking the report's short fixed lines in
// two, and beyond its own hard limit it would let the label run past its edge. Giving the label the width of the
// widest line, up to what fits the screen, settles both: short lines stay whole, long ones wrap within it.
void fitTextToScreen(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    label->setMinimumWidth(std::min(widest + 1, widestAllowedText(box)));
    label->setWordWrap(true);
}

} // namespace

std::unique_ptr<QMessageBox> makeErrorReportBox(QWidget* owner, const QString& title, const QString& text)
{
    const QString shown = displayedReportText(text);
    const QString onScreen = fittingTheScreen(shown);
    auto box =
        std::make_unique<QMessageBox>(QMessageBox::Warning, title, breakableText(onScreen), QMessageBox::Ok, owner);
    box->setTextFormat(Qt::PlainText);
    fitTextToScreen(*box);
    // A screen reader reads the report as written, without the invisible breaks that would split its words.
    setSpokenMessage(*box, onScreen);
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(onScreen);
    // As on Windows, Ctrl+C copies the report, so it can be pasted into the e-mail it asks for.
    new QShortcut(QKeySequence::Copy, box.get(), [shown] { QGuiApplication::clipboard()->setText(shown); });
    return box;
}

void showErrorReportBox(QWidget* owner, const QString& title, const QString& text)
{
    makeErrorReportBox(owner, title, text)->exec();
}

QString displayedReportText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
