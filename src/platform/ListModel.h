#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// One item of a list: its own text (first column) and its first sub-item (second column).
struct ListRow
{
    QString text;
    QString subItem1;
};

// The flat table behind a ListView: column headers and a plain vector of rows, no per-item objects.
// Positions in this interface are 0-based; ListView speaks the program's 1-based positions.
class ListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void addColumn(const QString& header);
    void append(ListRow row);
    void setSubItem1(qsizetype row, const QString& text);
    const ListRow& row(qsizetype row) const { return m_rows[static_cast<size_t>(row)]; }
    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    void remove(qsizetype row);
    void clear();

    // Many rows at once with a single reset of the views, however the batch ends (a failure part-way
    // through keeps the rows added so far). Rows go to the end, after those already there.
    class Batch final
    {
    public:
        explicit Batch(ListModel& model);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        void append(ListRow row) { m_model.m_rows.push_back(std::move(row)); }
        void clear() { m_model.m_rows.clear(); }

    private:
        ListModel& m_model;
    };

private:
    QStringList m_headers;
    std::vector<ListRow> m_rows;
};
