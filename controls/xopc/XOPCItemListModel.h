#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace tagwell {

// The rows of the data control's item list: one row per item of the shown
// group, five text cells ("ItemID", "Value", "Quality", "Date/Time",
// "Active"), a check box and a small icon in the first column, and the row
// key "Item " followed by the item's client handle.
//
// The model keeps the texts the control wrote, not the items: what a cell
// shows changes only when the control writes it (when the list is filled and
// on display updates), and SetCell reports a change to the view only when
// the text differs, so an update of one page costs one page whatever the
// number of rows. Check boxes start clear and belong to the user; a change
// of one is announced with RowCheckChanged.
//
// Nothing here is editable as text: the view's label editing is refused.
class XOPCItemListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column : int { ItemIDColumn, ValueColumn, QualityColumn, DateTimeColumn, ActiveColumn,
                        ColumnCount };
    enum Role : int {
        RowKeyRole = Qt::UserRole + 1,  // "Item 5"
        IconKeyRole,                    // "Sine", "Boolean" or "Other"
    };
    enum class Icon : uint8_t { Sine, Other, Boolean };

    struct Row {
        int32_t handle = 0;
        Icon icon = Icon::Other;
        bool checked = false;
        std::array<QString, ColumnCount> cells;
    };

    explicit XOPCItemListModel(QObject* parent = nullptr);

    static QString HeaderText(int column);
    static QString IconKey(Icon icon);
    // "Item " and the handle in decimal.
    static QString RowKeyOf(int32_t handle);

    // Replaces every row at once (one reset of the views).
    void SetRows(std::vector<Row> rows);
    void AppendRow(Row row);
    // Appends the rows with one insertion (nothing when there are none).
    void AppendRows(std::vector<Row> rows);
    void Clear();

    int RowCount() const { return int(m_rows.size()); }
    const QString& Cell(int row, int column) const;
    int32_t RowHandle(int row) const;
    QString RowKey(int row) const;
    // Writes the text when it differs from the cell's; returns whether it did.
    // Rows and columns outside the list are ignored.
    bool SetCell(int row, int column, const QString& text);

    // The column the list would sort by (0 for ItemID); header clicks set it.
    int SortKey() const { return m_sortKey; }
    void SetSortKey(int column);

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The user set or cleared the check box of a row.
    void RowCheckChanged(int row, bool checked);

private:
    bool validRow(int row) const { return row >= 0 && row < RowCount(); }

    std::vector<Row> m_rows;
    int m_sortKey = 0;
};

}  // namespace tagwell
