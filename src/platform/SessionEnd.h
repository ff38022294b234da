#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// Reports the ways the program can be asked to end from outside its window: SIGTERM, SIGINT and SIGHUP on Unix,
// the desktop session ending everywhere. Each becomes one endRequested signal, so the window can close the normal
// way and save the search list. Requests that come before watch() wait until then.
class SessionEnd final : public QObject
{
    Q_OBJECT

public:
    // Installs the signal handlers at once, so no termination signal can end the program unsaved from here on.
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    // Starts delivering endRequested, including any request that came before.
    void watch();

signals:
    void endRequested();

private:
    void readSignal();

    std::unique_ptr<QSocketNotifier> m_notifier;
#if defined(Q_OS_WIN)
    class EndSessionFilter;
    std::unique_ptr<EndSessionFilter> m_endSessionFilter;
#endif
};
