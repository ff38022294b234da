// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/FrameOverlay.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

FrameOverlay::FrameOverlay(QFrame* framed) : QWidget(framed), m_framed(framed)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(framed->rect());
    framed->installEventFilter(this);
    for (QObject* sibling : framed->children()) {
        if (sibling != this)
            sibling->installEventFilter(this);
    }
    raise();
}

bool FrameOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_framed) {
        if (event->type() == QEvent::Resize)
            setGeometry(m_framed->rect());
        else if (event->type() == QEvent::ChildAdded)
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
    } else if (event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange) {
        raise(); // the scroll area raises a scroll bar when it shows it
    }
    return QWidget::eventFilter(watched, event);
}

void FrameOverlay::paintEvent(QPaintEvent*)
{
    // At 100 per cent every child lies on whole pixels inside the border that QFrame drew.
    if (devicePixelRatio() == 1)
        return;
    // The same option QFrame draws its own border from, and the framed widget's style, so a skin's border is the
    // one drawn again.
    QStyleOptionFrame option;
    option.initFrom(m_framed);
    option.rect = m_framed->frameRect();
    option.frameShape = m_framed->frameShape();
    option.lineWidth = m_framed->lineWidth();
    option.midLineWidth = m_framed->midLineWidth();
    if (m_framed->frameShadow() == QFrame::Sunken)
        option.state |= QStyle::State_Sunken;
    else if (m_framed->frameShadow() == QFrame::Raised)
        option.state |= QStyle::State_Raised;
    QPainter painter(this);
    m_framed->style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, m_framed);
}
