// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ListSelection.h"

#include <QList>
#include <QMetaObject>
#include <QStringList>

#include <functional>
#include <vector>

// The changes made to the search list since the program started, to take back and make again one step at a time.
// A step keeps only what changed, the queries taken out and put in at one place, with the selected query before
// and after, so a long session over a long list costs little more than the queries it added and removed. Taking a
// step back or making it again changes the list as any command does, so whoever watches the list sees it.
class SearchListHistory final
{
public:
    explicit SearchListHistory(ListOnScreen searches);
    ~SearchListHistory();
    SearchListHistory(const SearchListHistory&) = delete;
    SearchListHistory& operator=(const SearchListHistory&) = delete;

    // Runs a change of the list and remembers it as one step named after its command, however many queries it
    // touched; a change that failed part-way is remembered as far as it went, and the failure goes on to the
    // caller. A change that altered nothing is not remembered. A new step forgets the steps that were taken back.
    void record(const QString& name, const std::function<void()>& change);
    // Takes back the last step that is still in force, selection included; false when there is none.
    bool undo();
    // Makes the last step taken back again; false when there is none.
    bool redo();
    // The name of the step that undo() would take back, or redo() make again; empty when there is none.
    QString undoName() const;
    QString redoName() const;

private:
    struct Edit
    {
        qsizetype row; // where the change happened, from 0
        QStringList removed;
        QStringList inserted;
    };
    struct Step
    {
        QString name;
        std::vector<Edit> edits;
        qsizetype selectedBefore; // the selected position, 0 for none
        qsizetype selectedAfter;
    };

    void startWatching(std::vector<Edit>& edits);
    void stopWatching();
    void finish(Step& step);
    QStringList texts(qsizetype first, qsizetype last) const;
    void replace(qsizetype row, qsizetype count, const QStringList& texts);
    void select(qsizetype position);
    qsizetype selectedPosition() const;

    ListOnScreen m_searches;
    std::vector<Step> m_steps;
    size_t m_inForce = 0; // the steps before this one are in force, those from it on were taken back
    QList<QMetaObject::Connection> m_watching;
};
