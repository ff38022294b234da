// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/process/InstanceLock.h"

#include <QObject>

#include <memory>

#ifdef Q_OS_WIN
#include <QLocalServer>
class QLocalSocket;
#else
class QSocketNotifier;
#endif
class QTemporaryDir;

// One running window per user and store: the first start holds a lock beside the settings file and listens for
// later starts; a later start, from any session of the user, finds the lock taken, asks the running one to come
// to the front, and ends. So only one window ever edits the stored list, and the last to close cannot overwrite
// what another added.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // `key` names what only one running program may own: the settings file. Takes the lock when no running
    // program holds it. The names of the lock and the socket in shared temporary folders begin with
    // `sharedFilePrefix`.
    SingleInstance(const QString& key, const QString& sharedFilePrefix, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first start, which goes on to show the window; also when no lock can be made at
    // all, for a program without the guard is better than none.
    bool isFirst() const { return m_lock.state() != InstanceLock::State::HeldByAnother; }
    // Asks the running program to come to the front; false when it did not answer within a few seconds.
    bool bringRunningToFront() const;

signals:
    // Another start asked this program to come to the front.
    void frontRequested();

private:
    void listen(const QString& sharedFilePrefix);
    QString privateAddress(const QString& sharedFilePrefix);
    void answer();

    InstanceLock m_lock;
    std::unique_ptr<QTemporaryDir> m_socketFolder;
    int m_peers = 0; // being heard now
#ifdef Q_OS_WIN
    void hearOut(QLocalSocket* peer);
    QLocalServer m_server; // ended first: it removes its socket, then the folder goes
#else
    void hearOut(int peer);
    std::unique_ptr<QSocketNotifier> m_listener; // ended first: its socket closes, then the folder goes
#endif
};
