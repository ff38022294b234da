// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QFrame;

// Draws a framed widget's border a second time, above the widget's children. At fractional scale factors
// (125 %, 150 %) Qt rounds each child's rectangle to whole device pixels on its own, so a list's viewport, header
// or scroll bar can cover the last pixel column and row of the list's border, and the list loses its right and
// bottom edge. At whole-number scales, where that cannot happen, it draws nothing. The overlay takes no input:
// mouse moves, clicks and tooltips reach the widgets beneath it.
class FrameOverlay final : public QWidget
{
    Q_OBJECT

public:
    explicit FrameOverlay(QFrame* framed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QFrame* m_framed;
};
