// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>

class QScrollBar;
class QWidget;

// Keeps every control of a window of fixed size within reach on a screen too small for it (640 x 480, or a laptop
// at 125 % or 200 %): the window then takes the room the screen's available area leaves, and scroll bars along
// its right and bottom edges move the controls, as does the mouse wheel and moving the keyboard focus. On a
// screen where it fits, the window stays exactly as it was laid out. Fitting happens when the window is shown,
// when it moves to another screen and when that screen's available area changes.
class ScreenFit final : public QObject
{
    Q_OBJECT

public:
    // The window's present size is its laid-out size.
    explicit ScreenFit(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();
    // What the screen's available area leaves for the window without its frame.
    QSize room() const;
    void placeScrollBars(const QSize& size, bool horizontal, bool vertical);
    void scrollTo(const QPoint& offset);
    void showFocusedControl(QWidget* focused);
    bool isScrollBar(const QObject* object) const;

    QWidget& m_window;
    QSize m_laidOut;
    QScrollBar* m_horizontal;
    QScrollBar* m_vertical;
    QPoint m_offset;
};
