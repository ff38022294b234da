// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SearchQuery.h"

#include "app/ErrorTrap.h"

#include <QObject>
#include <QStringList>

#include <deque>
#include <optional>

struct Environment;
struct OpeningFailure;

// The queries that the opening commands hand to the desktop, one at a time and in the order they were asked
// for: each address goes out once the desktop has taken the one before, between two events of the window. So
// the browser receives them in list order, the window keeps answering however long the list, and a close stops
// the rest at once.
class OpeningQueue final : public QObject
{
public:
    explicit OpeningQueue(const Environment& environment);

    // Queues the queries of one command, each to open on `engine`'s result page, after those already waiting; a
    // failure to open one is reported through `trap` with `label`. A failure that every address would meet (no opener
    // at all) is reported once, naming the address and the reason, and drops every query still waiting.
    void open(const QStringList& queries, SearchEngine engine, const ErrorTrap& trap, int label);
    // Drops every query not yet handed over.
    void stop();

private:
    struct Command
    {
        QStringList queries;
        qsizetype next; // the first query not yet handed over
        SearchEngine engine;
        ErrorTrap trap;
        int label;
    };

    void handOverNext();
    // The trap is a copy of its own: the opener that holds the original may be gone while a report is shown.
    void handedOver(const std::optional<OpeningFailure>& failure, ErrorTrap trap, int label);
    void scheduleNext();
    qsizetype waitingCount() const;

    const Environment& m_environment;
    std::deque<Command> m_commands;
    bool m_handingOver = false; // a hand-over is scheduled or the desktop has not yet answered
};
