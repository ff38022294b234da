// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/SingleInstance.h"

#include <QDir>
#include <QSocketNotifier> // a member on Unix, ended by the destructor
#include <QTemporaryDir>

#include <cstdio>

SingleInstance::SingleInstance(const QString& key, const QString& sharedFilePrefix, QObject* parent)
    : QObject(parent), m_lock(key, sharedFilePrefix)
{
    if (m_lock.state() == InstanceLock::State::Ours)
        listen(sharedFilePrefix);
    else if (m_lock.state() == InstanceLock::State::CannotBeMade)
        std::fprintf(stderr, "BazaarlySearch runs without its one-window guard: the lock %s cannot be made.\n",
                     qPrintable(QDir::toNativeSeparators(m_lock.path())));
}

SingleInstance::~SingleInstance() = default;
