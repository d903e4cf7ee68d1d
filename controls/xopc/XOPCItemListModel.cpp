#include "controls/xopc/XOPCItemListModel.h"

#include "controls/xopc/XOPCImages.h"

namespace tagwell {

namespace {

const QString& emptyText()
{
    static const QString empty;
    return empty;
}

}  // namespace

XOPCItemListModel::XOPCItemListModel(QObject* parent) : QAbstractTableModel(parent) {}

QString XOPCItemListModel::HeaderText(int column)
{
    static const std::array<QString, ColumnCount> headers{"ItemID", "Value", "Quality",
                                                          "Date/Time", "Active"};
    return column >= 0 && column < ColumnCount ? headers[size_t(column)] : QString();
}

QString XOPCItemListModel::IconKey(Icon icon)
{
    switch (icon) {
    case Icon::Sine: return QStringLiteral("Sine");
    case Icon::Boolean: return QStringLiteral("Boolean");
    case Icon::Other: break;
    }
    return QStringLiteral("Other");
}

QString XOPCItemListModel::RowKeyOf(int32_t handle)
{
    return QStringLiteral("Item ") + QString::number(handle);
}

void XOPCItemListModel::SetRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void XOPCItemListModel::AppendRow(Row row)
{
    const int at = RowCount();
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
}

void XOPCItemListModel::AppendRows(std::vector<Row> rows)
{
    if (rows.empty())
        return;
    const int at = RowCount();
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
    for (Row& row : rows)
        m_rows.push_back(std::move(row));
    endInsertRows();
}

void XOPCItemListModel::Clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

const QString& XOPCItemListModel::Cell(int row, int column) const
{
    if (!validRow(row) || column < 0 || column >= ColumnCount)
        return emptyText();
    return m_rows[size_t(row)].cells[size_t(column)];
}

int32_t XOPCItemListModel::RowHandle(int row) const
{
    return validRow(row) ? m_rows[size_t(row)].handle : 0;
}

QString XOPCItemListModel::RowKey(int row) const
{
    return validRow(row) ? RowKeyOf(m_rows[size_t(row)].handle) : QString();
}

bool XOPCItemListModel::SetCell(int row, int column, const QString& text)
{
    if (!validRow(row) || column < 0 || column >= ColumnCount)
        return false;
    QString& cell = m_rows[size_t(row)].cells[size_t(column)];
    if (cell == text)
        return false;
    cell = text;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
    return true;
}

void XOPCItemListModel::SetSortKey(int column)
{
    if (column >= 0 && column < ColumnCount)
        m_sortKey = column;
}

int XOPCItemListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int XOPCItemListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant XOPCItemListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || index.column() >= ColumnCount)
        return {};
    const Row& row = m_rows[size_t(index.row())];
    const bool first = index.column() == ItemIDColumn;
    switch (role) {
    case Qt::DisplayRole: return row.cells[size_t(index.column())];
    case Qt::DecorationRole: return first ? QVariant(XOPCImages::small(IconKey(row.icon))) : QVariant();
    case Qt::CheckStateRole: return first ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case RowKeyRole: return RowKeyOf(row.handle);
    case IconKeyRole: return IconKey(row.icon);
    default: return {};
    }
}

bool XOPCItemListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != ItemIDColumn ||
        !validRow(index.row()))
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    Row& row = m_rows[size_t(index.row())];
    if (row.checked != checked) {
        row.checked = checked;
        emit dataChanged(index, index, {Qt::CheckStateRole});
    }
    emit RowCheckChanged(index.row(), checked);
    return true;
}

QVariant XOPCItemListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return HeaderText(section);
    return {};
}

Qt::ItemFlags XOPCItemListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == ItemIDColumn)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

}  // namespace tagwell
