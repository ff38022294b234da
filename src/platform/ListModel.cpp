#include "ListModel.h"

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
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return {};
    const ListRow& item = m_rows[static_cast<size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return item.text;
    case 1:
        return item.subItem1;
    default:
        return QString();
    }
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

void ListModel::append(ListRow row)
{
    const int position = static_cast<int>(m_rows.size());
    beginInsertRows({}, position, position);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void ListModel::setSubItem1(qsizetype row, const QString& text)
{
    m_rows[static_cast<size_t>(row)].subItem1 = text;
    if (columnCount() < 2)
        return; // kept, but not shown until the list has a second column
    const QModelIndex changed = index(static_cast<int>(row), 1);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void ListModel::remove(qsizetype row)
{
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void ListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

ListModel::Batch::Batch(ListModel& model) : m_model(model)
{
    m_model.beginResetModel();
}

ListModel::Batch::~Batch()
{
    m_model.endResetModel();
}
