// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/DesktopSessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>

#if defined(Q_OS_WIN)
#include <QAbstractNativeEventFilter>
#include <windows.h>

// Windows tells a program that the session is ending with WM_ENDSESSION; Qt does not pass it on as a close.
class DesktopSessionEnd::EndSessionFilter final : public QAbstractNativeEventFilter
{
public:
    explicit EndSessionFilter(DesktopSessionEnd& sessionEnd) : m_sessionEnd(sessionEnd) {}

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam)
            emit m_sessionEnd.endRequested();
        return false;
    }

private:
    DesktopSessionEnd& m_sessionEnd;
};
#endif

DesktopSessionEnd::DesktopSessionEnd(QObject* parent) : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, &DesktopSessionEnd::endRequested);
#if defined(Q_OS_WIN)
    m_endSessionFilter = std::make_unique<EndSessionFilter>(*this);
    QCoreApplication::instance()->installNativeEventFilter(m_endSessionFilter.get());
#endif
}

DesktopSessionEnd::~DesktopSessionEnd()
{
#if defined(Q_OS_WIN)
    QCoreApplication::instance()->removeNativeEventFilter(m_endSessionFilter.get());
#endif
}
