// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/process/InstanceLock.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QObject>

#include <chrono>

class QLocalSocket;

// One running window per user and store: the first start holds a lock beside the settings file and listens for
// later starts; a later start, from any session of the user, finds the lock taken, asks the running one to come
// to the front, and ends. So only one window ever edits the stored list, and the last to close cannot overwrite
// what another added.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // What the user sees of this start.
    enum class Outcome {
        Window,          // the first start: the window opens
        UnguardedWindow, // no lock can be had: a report says so, then the window opens
        HandedOver,      // the running copy came to the front, and this start ends
        Unanswered,      // a running copy holds the lock but did not answer: a report says so, and this start ends
    };
    Q_ENUM(Outcome)
    static constexpr std::chrono::milliseconds kDefaultLimit{3000};

    // `key` names what only one running program may own: the settings file. Takes the lock when no running
    // program holds it, and listens for later starts. On Windows the names of the lock and the pipe, which the
    // user's sessions share, begin with `sharedFilePrefix`. Everything this start waits for, the lock's place
    // cleared by another start and the running copy's answer, is waited for `limit` in all.
    SingleInstance(const QString& key, const QString& sharedFilePrefix, std::chrono::milliseconds limit = kDefaultLimit,
                   QObject* parent = nullptr);
    ~SingleInstance() override;

    // What this start comes to; for a later start, once it has asked the running copy to come to the front.
    Outcome settle();
    // What to tell the user, for the outcomes that report.
    QString why() const;

signals:
    // Another start asked this program to come to the front.
    void frontRequested();

private:
    void listen();
    bool bringRunningToFront();
    void answer();
    void hearOut(QLocalSocket* peer);

    QDeadlineTimer m_deadline;
    InstanceLock m_lock;
    QLocalServer m_server; // ended before the lock: it removes its socket, reached through the lock's folder
    int m_peers = 0;       // being heard now
};
