// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/ScreenFit.h"

#include "platform/look/Contrast.h"
#include "platform/look/WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace {

// Until the window manager has framed the window, a frame of about this size is reckoned with.
QMargins likelyFrame(const QWidget& window)
{
    const int border = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &window) + 2;
    return {border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + border, border, border};
}

} // namespace

ScreenFit::ScreenFit(QWidget& window)
    : QObject(&window), m_window(window), m_laidOut(window.size()),
      m_horizontal(new QScrollBar(Qt::Horizontal, &window)), m_vertical(new QScrollBar(Qt::Vertical, &window))
{
    for (QScrollBar* bar : {m_horizontal, m_vertical}) {
        makeHandleStandOut(*bar);
        bar->setObjectName(bar == m_vertical ? QStringLiteral("screenFitVertical")
                                             : QStringLiteral("screenFitHorizontal"));
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this,
                [this] { scrollTo(QPoint(-m_horizontal->value(), -m_vertical->value())); });
    }
    window.installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { showFocusedControl(now); });
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move: // also once the window manager has framed it
            fit();
            if (QWindow* native = m_window.windowHandle()) {
                connect(native, &QWindow::screenChanged, this, &ScreenFit::fit, Qt::UniqueConnection);
                if (QScreen* screen = native->screen())
                    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenFit::fit, Qt::UniqueConnection);
            }
            break;
        case QEvent::Wheel: // over the window's own surface or a control that leaves the wheel alone
            if (m_vertical->isVisible())
                return QApplication::sendEvent(m_vertical, event);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

QSize ScreenFit::room() const
{
    const QScreen* screen = m_window.screen();
    if (screen == nullptr)
        return m_laidOut;
    const QSize frame = m_window.frameGeometry().size() - m_window.size();
    const QMargins margins = frame.isEmpty() ? likelyFrame(m_window) : QMargins(0, 0, frame.width(), frame.height());
    return screen->availableGeometry().size().shrunkBy(margins);
}

void ScreenFit::fit()
{
    const QSize space = room();
    // A scroll bar along one edge takes its thickness from the other direction, which the window gets back by
    // growing where the screen leaves room.
    const int thickness = m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vertical);
    bool vertical = m_laidOut.height() > space.height();
    const bool horizontal = m_laidOut.width() + (vertical ? thickness : 0) > space.width();
    vertical = vertical || (horizontal && m_laidOut.height() + thickness > space.height());
    const QSize wanted(m_laidOut.width() + (vertical ? thickness : 0),
                       m_laidOut.height() + (horizontal ? thickness : 0));
    const QSize size = wanted.boundedTo(space);
    if (m_window.size() != size) {
        m_window.setFixedSize(size);
        centreOnScreen(m_window);
    }
    placeScrollBars(size, horizontal, vertical);
}

void ScreenFit::placeScrollBars(const QSize& size, bool horizontal, bool vertical)
{
    const int thickness = m_window.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_vertical);
    const QSize view(size.width() - (vertical ? thickness : 0), size.height() - (horizontal ? thickness : 0));
    m_horizontal->setGeometry(0, view.height(), view.width(), thickness);
    m_vertical->setGeometry(view.width(), 0, thickness, view.height());
    m_horizontal->setRange(0, horizontal ? m_laidOut.width() - view.width() : 0);
    m_vertical->setRange(0, vertical ? m_laidOut.height() - view.height() : 0);
    m_horizontal->setPageStep(view.width());
    m_vertical->setPageStep(view.height());
    m_vertical->setSingleStep(view.height() / 10);
    m_horizontal->setVisible(horizontal);
    m_vertical->setVisible(vertical);
    for (QScrollBar* bar : {m_horizontal, m_vertical})
        bar->raise();
    scrollTo(QPoint(-m_horizontal->value(), -m_vertical->value()));
}

bool ScreenFit::isScrollBar(const QObject* object) const
{
    return object == m_horizontal || object == m_vertical;
}

void ScreenFit::scrollTo(const QPoint& offset)
{
    const QPoint shift = offset - m_offset;
    if (shift.isNull())
        return;
    m_offset = offset;
    for (QObject* child : m_window.children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control != nullptr && !control->isWindow() && !isScrollBar(control))
            control->move(control->pos() + shift);
    }
}

void ScreenFit::showFocusedControl(QWidget* focused)
{
    if (focused == nullptr || focused->window() != &m_window ||
        (!m_vertical->isVisible() && !m_horizontal->isVisible()))
        return;
    const QRect control(focused->mapTo(&m_window, QPoint(0, 0)), focused->size());
    const QRect view(0, 0, m_vertical->isVisible() ? m_vertical->x() : m_window.width(),
                     m_horizontal->isVisible() ? m_horizontal->y() : m_window.height());
    // Scrolls just far enough to bring the control in, its top-left corner first where it is larger than the view.
    const auto scrollBy = [](QScrollBar* bar, int start, int end, int viewEnd) {
        if (end > viewEnd)
            bar->setValue(bar->value() + std::min(end - viewEnd, start));
        else if (start < 0)
            bar->setValue(bar->value() + start);
    };
    scrollBy(m_vertical, control.top(), control.bottom() + 1, view.height());
    scrollBy(m_horizontal, control.left(), control.right() + 1, view.width());
}
