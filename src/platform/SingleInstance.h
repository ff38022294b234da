// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

// One running window per user and store: the first start holds a lock and listens for later starts; a later
// start finds the lock taken, asks the running one to come to the front, and ends. So only one window ever
// edits the stored list, and the last to close cannot overwrite what another added.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // `key` names what only one running program may own (the settings store's location). Takes the lock when it
    // is free, or left over from a program that is no longer running.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first start, which goes on to show the window.
    bool isFirst() const { return m_first; }
    // Asks the running program to come to the front; false when it did not answer within a few seconds.
    bool bringRunningToFront() const;

signals:
    // Another start asked this program to come to the front.
    void frontRequested();

private:
    void listen();
    void answer();

    QString m_name; // of the lock file and the listening socket
    bool m_first = false;
#ifdef Q_OS_WIN
    // Windows hands a named mutex on when its owner ends, however it ended, where a lock file would name a
    // process number that Windows gives out again: a copy that was killed never stops the next start.
    struct MutexRelease
    {
        void operator()(void* mutex) const;
    };
    std::unique_ptr<void, MutexRelease> m_mutex;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
    QLocalServer m_server;
};
