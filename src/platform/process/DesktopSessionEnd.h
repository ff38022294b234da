// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

// Reports the desktop session ending (the user logging out, the system shutting down) as one endRequested
// signal, so the window can close the normal way and save the search list: Qt's commit-data request everywhere,
// and on Windows WM_ENDSESSION, which Qt does not pass on as a close.
class DesktopSessionEnd final : public QObject
{
    Q_OBJECT

public:
    // Listens from now on, until the object ends.
    explicit DesktopSessionEnd(QObject* parent = nullptr);
    ~DesktopSessionEnd() override;

signals:
    void endRequested();

private:
#if defined(Q_OS_WIN)
    class EndSessionFilter;
    std::unique_ptr<EndSessionFilter> m_endSessionFilter;
#endif
};
