// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchListHistory.h"

#include "platform/controls/ListModel.h"

SearchListHistory::SearchListHistory(ListOnScreen searches) : m_searches(searches) {}

SearchListHistory::~SearchListHistory()
{
    stopWatching();
}

void SearchListHistory::record(const QString& name, const std::function<void()>& change)
{
    Step step{name, {}, selectedPosition(), 0};
    startWatching(step.edits);
    try {
        change();
    } catch (...) {
        finish(step);
        throw;
    }
    finish(step);
}

void SearchListHistory::startWatching(std::vector<Edit>& edits)
{
    ListModel& model = m_searches.items;
    m_watching = {
        QObject::connect(&model, &ListModel::rowsAboutToBeRemoved, &model,
                         [this, &edits](const QModelIndex&, int first, int last) {
                             edits.push_back({first, texts(first, last), {}});
                         }),
        QObject::connect(&model, &ListModel::rowsInserted, &model,
                         [this, &edits](const QModelIndex&, int first, int last) {
                             edits.push_back({first, {}, texts(first, last)});
                         }),
        // A clear takes everything out and puts back what the list holds afterwards.
        QObject::connect(&model, &ListModel::modelAboutToBeReset, &model,
                         [this, &edits] {
                             edits.push_back({0, texts(0, m_searches.items.size() - 1), {}});
                         }),
        QObject::connect(&model, &ListModel::modelReset, &model,
                         [this, &edits] { edits.back().inserted = texts(0, m_searches.items.size() - 1); }),
    };
}

void SearchListHistory::stopWatching()
{
    for (const QMetaObject::Connection& connection : std::as_const(m_watching))
        QObject::disconnect(connection);
    m_watching.clear();
}

void SearchListHistory::finish(Step& step)
{
    stopWatching();
    if (step.edits.empty())
        return;
    step.selectedAfter = selectedPosition();
    m_steps.resize(m_inForce);
    m_steps.push_back(std::move(step));
    m_inForce = m_steps.size();
}

bool SearchListHistory::undo()
{
    if (m_inForce == 0)
        return false;
    const Step& step = m_steps[m_inForce - 1];
    for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit)
        replace(edit->row, edit->inserted.size(), edit->removed);
    --m_inForce;
    select(step.selectedBefore);
    return true;
}

bool SearchListHistory::redo()
{
    if (m_inForce == m_steps.size())
        return false;
    const Step& step = m_steps[m_inForce];
    for (const Edit& edit : step.edits)
        replace(edit.row, edit.removed.size(), edit.inserted);
    ++m_inForce;
    select(step.selectedAfter);
    return true;
}

QString SearchListHistory::undoName() const
{
    return m_inForce > 0 ? m_steps[m_inForce - 1].name : QString();
}

QString SearchListHistory::redoName() const
{
    return m_inForce < m_steps.size() ? m_steps[m_inForce].name : QString();
}

QStringList SearchListHistory::texts(qsizetype first, qsizetype last) const
{
    const ListModel& model = m_searches.items;
    QStringList texts;
    texts.reserve(last - first + 1);
    for (qsizetype row = first; row <= last; ++row)
        texts.append(model.text(row));
    return texts;
}

void SearchListHistory::replace(qsizetype row, qsizetype count, const QStringList& texts)
{
    m_searches.selection.removeItems(row + 1, count);
    m_searches.items.insert(row, texts);
}

void SearchListHistory::select(qsizetype position)
{
    if (position < 1 || position > m_searches.items.size())
        return;
    m_searches.selection.selectPosition(position);
    m_searches.selection.ensureVisible(position);
}

qsizetype SearchListHistory::selectedPosition() const
{
    return m_searches.items.size() > 0 ? m_searches.selection.selectedPosition() : 0;
}
