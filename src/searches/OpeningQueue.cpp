// SPDX-License-Identifier: GPL-3.0-or-later
#include "OpeningQueue.h"

#include "platform/desktop/Environment.h"
#include "platform/desktop/UrlOpener.h"

#include <QTimer>
#include <QUrl>

OpeningQueue::OpeningQueue(const Environment& environment) : m_environment(environment) {}

void OpeningQueue::open(const QStringList& queries, SearchEngine engine, const ErrorTrap& trap, int label)
{
    if (queries.isEmpty())
        return;
    m_commands.push_back({queries, 0, engine, trap, label});
    if (!m_handingOver)
        scheduleNext();
}

void OpeningQueue::stop()
{
    m_commands.clear();
}

void OpeningQueue::scheduleNext()
{
    m_handingOver = true;
    // Through the event loop, so the window answers between two addresses.
    QTimer::singleShot(0, this, &OpeningQueue::handOverNext);
}

void OpeningQueue::handOverNext()
{
    while (!m_commands.empty() && m_commands.front().next == m_commands.front().queries.size())
        m_commands.pop_front();
    if (m_commands.empty()) {
        m_handingOver = false;
        return;
    }
    Command& command = m_commands.front();
    const QUrl address = searchUrl(command.queries[command.next++], command.engine);
    m_environment.openUrl(address, *this, [this, trap = command.trap, label = command.label](const auto& failure) {
        handedOver(failure, trap, label);
    });
}

void OpeningQueue::handedOver(const std::optional<OpeningFailure>& failure, ErrorTrap trap, int label)
{
    if (failure) {
        QString description = failure->description;
        if (failure->concernsEveryAddress) {
            const qsizetype dropped = waitingCount();
            if (dropped == 1)
                description += QStringLiteral(" The search after it was not opened.");
            else if (dropped > 1)
                description += QStringLiteral(" The %1 searches after it were not opened.").arg(dropped);
            stop();
        }
        trap.report(label, description);
    }
    scheduleNext();
}

qsizetype OpeningQueue::waitingCount() const
{
    qsizetype count = 0;
    for (const Command& command : m_commands)
        count += command.queries.size() - command.next;
    return count;
}
