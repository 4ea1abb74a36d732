#include "records/MovesList.h"

#include <algorithm>

MovesListModel::MovesListModel(QObject* parent) : QAbstractTableModel(parent)
{
    rows_.resize(MinRowCount);
    rows_[0] = {QStringLiteral("Nb"), QStringLiteral("Player1"), QStringLiteral("Player2")};
}

void MovesListModel::SetRowCount(int count)
{
    count = std::max(count, MinRowCount);
    const int old = RowCount();
    if (count == old)
        return;
    reshaping_ = true;
    if (count > old) {
        beginInsertRows(QModelIndex(), old - 1, count - 2);
        rows_.resize(std::size_t(count));
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), count - 1, old - 2);
        rows_.resize(std::size_t(count));
        endRemoveRows();
    }
    reshaping_ = false;
    if (row_ >= count)
        SetCurrentCell(col_, count - 1);
}

QString MovesListModel::Cell(int col, int row) const
{
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount())
        return QString();
    return rows_[std::size_t(row)][std::size_t(col)];
}

void MovesListModel::SetCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount())
        return;
    QString& cell = rows_[std::size_t(row)][std::size_t(col)];
    if (cell == text)
        return;
    cell = text;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex at = index(row - 1, col);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

void MovesListModel::ClearRows()
{
    SetRowCount(MinRowCount);
    for (int c = 0; c < ColCount; ++c)
        SetCell(c, 1, QString());
}

void MovesListModel::SetCurrentCell(int col, int row)
{
    col = std::clamp(col, 0, ColCount - 1);
    row = std::clamp(row, 1, RowCount() - 1);
    if (col == col_ && row == row_)
        return;
    col_ = col;
    row_ = row;
    emit currentCellChanged(col, row);
}

int MovesListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount() - 1;
}

int MovesListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColCount;
}

QVariant MovesListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return Cell(index.column(), index.row() + 1);
}

QVariant MovesListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return Cell(section, 0);
}

Qt::ItemFlags MovesListModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void GameListModel::SetItemIndex(int index)
{
    if (index < 0 || index >= rowCount())
        index = -1;
    if (index == itemIndex_)
        return;
    itemIndex_ = index;
    emit itemIndexChanged(index);
}

void GameListModel::Add(const QString& text)
{
    const int at = rowCount();
    insertRows(at, 1);
    setData(QStringListModel::index(at), text);
}

void GameListModel::Clear()
{
    setStringList({});
    SetItemIndex(-1);
}
