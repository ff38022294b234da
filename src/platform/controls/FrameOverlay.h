// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QFrame;

// Draws a framed widget's border a second time, above the widget's children. Above 100 per cent a list's viewport,
// header or scroll bar can cover the border's right and bottom edge: at fractional scale factors (125 %, 150 %) Qt
// rounds each child's rectangle to whole device pixels on its own, and from 200 % up, where the border is more than
// one device pixel wide, the children cover its inner part. At 100 per cent, where neither can happen, the overlay
// draws nothing. It takes no input: mouse moves, clicks and tooltips reach the widgets beneath it.
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
