// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListModel.h"

#include <memory>
#include <new>

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::AccessibleTextRole)
        return spokenText(index);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return text(index.row());
    case 1:
        return subItem1(index.row());
    default:
        return QString();
    }
}

QString ListModel::spokenText(const QModelIndex& index) const
{
    // An item with a sub-item keeps its own text in a column too narrow to see (the location list's address);
    // a screen reader says what the row shows, the sub-item, in every cell of the row.
    const QString shown = subItem1(index.row());
    if (!shown.isEmpty())
        return shown;
    return index.column() == 0 ? text(index.row()) : QString();
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_headers.size())
        return {};
    return m_headers[section];
}

void ListModel::addColumn(const QString& header)
{
    const int column = static_cast<int>(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers.append(header);
    endInsertColumns();
}

QString ListModel::text(qsizetype row) const
{
    return textView(row).toString();
}

QStringView ListModel::textView(qsizetype row) const
{
    const Row& item = m_rows[static_cast<size_t>(row)];
    return QStringView(m_texts).sliced(item.start, item.textLength);
}

QString ListModel::subItem1(qsizetype row) const
{
    const Row& item = m_rows[static_cast<size_t>(row)];
    return m_texts.sliced(item.start + item.textLength, item.subItemLength);
}

void ListModel::reserveARow()
{
    if (m_rows.size() == m_rows.capacity())
        m_rows.reserve(std::max<size_t>(16, 2 * m_rows.capacity()));
}

qsizetype ListModel::appendTexts(QStringView first, QStringView second)
{
    // All or nothing: texts that run out of memory half-way leave no trace.
    const qsizetype start = m_texts.size();
    try {
        m_texts.append(first);
        if (!second.isEmpty()) // the search list has no sub-items, and even an empty append costs a call
            m_texts.append(second);
    } catch (...) {
        m_texts.truncate(start);
        throw;
    }
    return start;
}

void ListModel::store(QStringView text, QStringView subItem1)
{
    reserveARow(); // first, so that a row is added whole or not at all and never points past the texts
    const qsizetype start = appendTexts(text, subItem1);
    m_rows.push_back({start, text.size(), subItem1.size()});
}

void ListModel::append(QStringView text, QStringView subItem1)
{
    // The room comes first: once the views have been told of the new row, it must arrive.
    makeRoomFor(text.size() + subItem1.size());
    const int position = static_cast<int>(m_rows.size());
    beginInsertRows({}, position, position);
    store(text, subItem1);
    endInsertRows();
}

void ListModel::makeRoomFor(qsizetype length)
{
    const qsizetype textsNeeded = m_texts.size() + length;
    if (m_texts.capacity() < textsNeeded)
        m_texts.reserve(std::max(textsNeeded, 2 * m_texts.capacity()));
    reserveARow();
}

void ListModel::setSubItem1(qsizetype row, QStringView text)
{
    Row& item = m_rows[static_cast<size_t>(row)];
    const QString itemText = m_texts.sliced(item.start, item.textLength);
    const qsizetype start = appendTexts(itemText, text); // on failure the row keeps its old texts
    m_unusedLength += item.textLength + item.subItemLength;
    item.start = start;
    item.subItemLength = text.size();
    compactIfWasteful();
    if (columnCount() < 2)
        return; // kept, but not shown until the list has a second column
    const QModelIndex changed = index(static_cast<int>(row), 1);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ListModel::remove(qsizetype row)
{
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
    const Row& item = m_rows[static_cast<size_t>(row)];
    m_unusedLength += item.textLength + item.subItemLength;
    m_rows.erase(m_rows.begin() + row);
    compactIfWasteful();
    endRemoveRows();
}

void ListModel::clear()
{
    beginResetModel();
    forgetAll();
    m_texts.squeeze();
    m_rows.shrink_to_fit();
    endResetModel();
}

void ListModel::forgetAll()
{
    m_texts.clear();
    m_rows.clear();
    m_unusedLength = 0;
}

void ListModel::compactIfWasteful()
{
    if (m_unusedLength < 4096 || m_unusedLength * 2 < m_texts.size())
        return;
    QString compacted;
    compacted.reserve(m_texts.size() - m_unusedLength);
    for (Row& item : m_rows) {
        const qsizetype start = compacted.size();
        compacted.append(QStringView(m_texts).sliced(item.start, item.textLength + item.subItemLength));
        item.start = start;
    }
    m_texts = std::move(compacted);
    m_unusedLength = 0;
}

bool ListModel::keepRoomForTheViews() noexcept
{
    // What a tree view keeps for each row it lays out, with room to spare.
    constexpr size_t kViewBytesPerRow = 64;
    bool dropped = false;
    while (!m_rows.empty()) {
        if (std::unique_ptr<char[]>(new (std::nothrow) char[m_rows.size() * kViewBytesPerRow]))
            break;
        m_rows.resize(m_rows.size() / 2);
        dropped = true;
    }
    if (dropped)
        forgetTextsOfDroppedRows();
    return dropped;
}

void ListModel::forgetTextsOfDroppedRows() noexcept
{
    qsizetype end = 0;
    qsizetype used = 0;
    for (const Row& item : m_rows) {
        end = std::max(end, item.start + item.textLength + item.subItemLength);
        used += item.textLength + item.subItemLength;
    }
    m_texts.truncate(end);
    m_texts.squeeze(); // shrinks in place
    m_unusedLength = end - used;
}

ListModel::Batch::Batch(ListModel& model) : m_model(model)
{
    m_model.beginResetModel();
}

void ListModel::Batch::finish()
{
    if (m_model.keepRoomForTheViews())
        throw std::bad_alloc();
}

ListModel::Batch::~Batch()
{
    m_model.keepRoomForTheViews();
    m_model.endResetModel();
}
