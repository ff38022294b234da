// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/ListModel.h"

#include "platform/controls/SpokenRow.h"
#include "platform/controls/ViewMemoryReserve.h"

#include <algorithm>
#include <new>

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

namespace {

// No row is wider than this many characters can fill. A longer text is shown by its beginning and its end: the
// view lays out the whole of a text to elide it at every paint, which for a query of millions of characters
// kept a processor busy while the window sat idle.
constexpr qsizetype kLongestShownText = 2000;

QString shownText(QStringView text)
{
    if (text.size() <= kLongestShownText)
        return text.toString();
    constexpr qsizetype kHalf = kLongestShownText / 2;
    QString shown;
    shown.reserve(kLongestShownText + 1);
    shown.append(text.first(kHalf));
    shown.append(QChar(0x2026)); // the ellipsis
    shown.append(text.last(kHalf));
    return shown;
}

} // namespace

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::AccessibleTextRole)
        return spokenCellText(textView(index.row()), subItem1View(index.row()), index.column());
    if (role == Qt::AccessibleDescriptionRole)
        return spokenRowPosition(index.row(), size());
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return shownText(textView(index.row()));
    case 1:
        return shownText(subItem1View(index.row()));
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

QString ListModel::text(qsizetype row) const
{
    return textView(row).toString();
}

QStringView ListModel::textView(qsizetype row) const
{
    const Row& item = m_rows[static_cast<size_t>(row)];
    return QStringView(m_texts).sliced(item.start, item.textLength);
}

QStringView ListModel::subItem1View(qsizetype row) const
{
    const Row& item = m_rows[static_cast<size_t>(row)];
    return QStringView(m_texts).sliced(item.start + item.textLength, item.subItemLength);
}

void ListModel::reserveRows(size_t more)
{
    if (m_rows.capacity() - m_rows.size() < more)
        m_rows.reserve(std::max({size_t(16), 2 * m_rows.capacity(), m_rows.size() + more}));
}

qsizetype ListModel::appendTexts(QStringView text, std::initializer_list<QStringView> subItemPieces)
{
    qsizetype length = text.size();
    for (const QStringView piece : subItemPieces)
        length += piece.size();
    // All or nothing: one resize either makes room for every piece or throws before anything changed. Copied
    // in place, a row costs one call into QString, not one per piece.
    const qsizetype start = m_texts.size();
    m_texts.resize(start + length);
    QChar* at = std::copy(text.begin(), text.end(), m_texts.data() + start);
    for (const QStringView piece : subItemPieces)
        at = std::copy(piece.begin(), piece.end(), at);
    return start;
}

void ListModel::store(QStringView text, std::initializer_list<QStringView> subItemPieces)
{
    reserveRows(1); // first, so that a row is added whole or not at all and never points past the texts
    const qsizetype start = appendTexts(text, subItemPieces);
    m_rows.push_back({start, text.size(), m_texts.size() - start - text.size()});
}

void ListModel::makeRoomFor(qsizetype length, size_t rows)
{
    const qsizetype textsNeeded = m_texts.size() + length;
    if (m_texts.capacity() < textsNeeded)
        m_texts.reserve(std::max(textsNeeded, 2 * m_texts.capacity()));
    reserveRows(rows);
}

void ListModel::insert(qsizetype row, const QStringList& texts)
{
    if (texts.isEmpty())
        return;
    qsizetype length = 0;
    for (const QString& text : texts)
        length += text.size();
    // Everything that can run out of memory happens before the views are told: after that nothing fails.
    makeRoomFor(length, static_cast<size_t>(texts.size()));
    std::vector<Row> inserted;
    inserted.reserve(static_cast<size_t>(texts.size()));
    const int first = static_cast<int>(row);
    beginInsertRows({}, first, first + static_cast<int>(texts.size()) - 1);
    for (const QString& text : texts)
        inserted.push_back({appendTexts(text, {}), text.size(), 0});
    m_rows.insert(m_rows.begin() + row, inserted.begin(), inserted.end());
    endInsertRows();
}

void ListModel::remove(qsizetype row, qsizetype count)
{
    if (count <= 0)
        return;
    beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row + count - 1));
    const auto first = m_rows.begin() + row;
    for (auto item = first; item != first + count; ++item)
        m_unusedLength += item->textLength + item->subItemLength;
    m_rows.erase(first, first + count);
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
    const size_t roomFor = rowsTheViewsHaveRoomFor(m_rows.size());
    if (roomFor == m_rows.size())
        return false;
    m_rows.resize(roomFor);
    forgetTextsOfDroppedRows();
    return true;
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
