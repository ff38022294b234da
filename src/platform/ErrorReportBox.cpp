#include "ErrorReportBox.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QString>

namespace {

// A message box wraps any line wider than about 500 pixels, which would break the report's short, fixed lines
// in two. Widening its label to the widest line (within most of the screen) keeps each line on one line.
void keepLinesWhole(QMessageBox& box)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int limit = screen ? screen->availableGeometry().width() * 3 / 4 : widest;
    label->setMinimumWidth(std::min(widest + 1, limit));
}

} // namespace

void showErrorReportBox(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Application Error"), displayedReportText(text),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    keepLinesWhole(box);
    // As on Windows, Ctrl+C copies the report, so it can be pasted into the e-mail it asks for.
    const QShortcut copy(QKeySequence::Copy, &box, [&box] { QGuiApplication::clipboard()->setText(box.text()); });
    box.exec();
}

QString displayedReportText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
