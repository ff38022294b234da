// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

bool knowsFrame(const QWidget& window)
{
    return window.frameGeometry().size() != window.size();
}

// Centres the window once more when its frame first becomes known, then goes.
class CentreWhenFramed final : public QObject
{
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &m_window && (type == QEvent::Move || type == QEvent::Resize) && knowsFrame(m_window)) {
            m_window.removeEventFilter(this);
            centreOnScreen(m_window);
            deleteLater();
        }
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

QPoint centredFramePosition(const QRect& available, const QSize& frameSize)
{
    const int left = available.left() + (available.width() - frameSize.width()) / 2;
    const int top = available.top() + (available.height() - frameSize.height()) / 2;
    return {std::max(left, available.left()), std::max(top, available.top())};
}

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    // QWidget::move places a top-level window's frame, so the frame's size is what must be centred.
    window.move(centredFramePosition(screen->availableGeometry(), window.frameGeometry().size()));
}

void showCentred(QWidget& window)
{
    window.winId(); // some platforms know the frame from the moment the native window exists
    centreOnScreen(window);
    if (!knowsFrame(window))
        window.installEventFilter(new CentreWhenFramed(window));
    window.show();
}
