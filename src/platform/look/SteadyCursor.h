// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>

class QLineEdit;

// A blinking text cursor repaints its box twice a second, and Qt lays out the box's whole text at every paint: a
// text of a million characters kept a processor busy while nothing happened. While one of the watched boxes has
// the focus and holds a text longer than kLongestBlinkingText, the cursor stands still; otherwise it blinks as
// the desktop says.
class SteadyCursorForLongText final : public QObject
{
public:
    static constexpr qsizetype kLongestBlinkingText = 10'000;

    SteadyCursorForLongText(const QList<QLineEdit*>& boxes, QObject* parent);
    ~SteadyCursorForLongText() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QList<QLineEdit*> m_boxes;
    int m_desktopFlashTime;
};
