// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <initializer_list>
#include <vector>

// The flat table behind a ListView: column headers, and the items' two texts (the item's own text and its first
// sub-item) stored one after another in a single buffer, with a plain vector saying where each row's texts lie.
// No per-item objects and no allocation per row, so a million locations fit in a few times the size of the file
// they came from. Positions in this interface are 0-based; ListView speaks the program's 1-based ones.
// What a screen reader says of a row comes from SpokenRow, and the memory the views need from ViewMemoryReserve.
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
    // Puts items without sub-items in at the row, in one insertion the views are told of; all or none of them.
    void insert(qsizetype row, const QStringList& texts);
    QString text(qsizetype row) const;
    // The item's text without a copy; valid until the model next changes.
    QStringView textView(qsizetype row) const;
    QStringView subItem1View(qsizetype row) const;
    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    void remove(qsizetype row, qsizetype count = 1);
    void clear();

    // Many rows at once with a single reset of the views, however the batch ends (a failure part-way
    // through keeps the rows added so far). Rows go to the end, after those already there. However it ends,
    // the batch leaves the views the memory they need to lay out its rows, dropping the last rows if it must.
    class Batch final
    {
    public:
        explicit Batch(ListModel& model);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

        void append(QStringView text, QStringView subItem1 = {}) { m_model.store(text, {subItem1}); }
        // A row whose sub-item is the pieces one after another, with no text of its own built for it first.
        void append(QStringView text, std::initializer_list<QStringView> subItemPieces)
        {
            m_model.store(text, subItemPieces);
        }
        void clear() { m_model.forgetAll(); }
        // Ends a batch that went well; std::bad_alloc when rows had to be dropped to leave the views room.
        void finish();

    private:
        ListModel& m_model;
    };

private:
    struct Row
    {
        qsizetype start;      // where the item's text begins in m_texts
        qsizetype textLength; // followed at once by the sub-item's characters
        qsizetype subItemLength;
    };

    // The pieces must not be views of the list's own texts, which may move.
    void store(QStringView text, std::initializer_list<QStringView> subItemPieces);
    // Appends the text and the sub-item's pieces at the end of the buffer, all or none; returns where the text
    // begins.
    qsizetype appendTexts(QStringView text, std::initializer_list<QStringView> subItemPieces);
    void reserveRows(size_t more);
    void makeRoomFor(qsizetype length, size_t rows = 1);
    void forgetAll();
    // Drops the texts of removed rows once they make up half the buffer.
    void compactIfWasteful();
    // Makes sure the views can lay out every row (they need memory for each), dropping rows from the end until
    // they can; true when rows were dropped. The memory itself is judged in ViewMemoryReserve.
    bool keepRoomForTheViews() noexcept;
    void forgetTextsOfDroppedRows() noexcept;

    QStringList m_headers;
    QString m_texts;
    std::vector<Row> m_rows;
    qsizetype m_unusedLength = 0;
};
