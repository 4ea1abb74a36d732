#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringListModel>

#include <array>
#include <vector>

// The moves list grid of the "Game" tab, addressed as the grid numbers it: row 0 is the fixed
// header (shown as the view's column captions), rows 1 and up the recorded rows. The view's row
// r is grid row r + 1. Column 0 holds the row number, columns 1 and 2 the two players' cells.
class MovesListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColCount = 3;
    static constexpr int MinRowCount = 2; // the header and one row

    explicit MovesListModel(QObject* parent = nullptr);

    int RowCount() const { return int(rows_.size()); }
    // Rows added are empty; rows cut off are forgotten. Never fewer than the header and one row.
    void SetRowCount(int count);
    // "" outside the grid.
    QString Cell(int col, int row) const;
    // Writes outside the grid are dropped.
    void SetCell(int col, int row, const QString& text);
    // Empties every row below the header and leaves the header and one empty row.
    void ClearRows();

    // The current cell. It starts on column 0 of row 1 and is kept inside the grid.
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCurrentCell(int col, int row);
    // Rows are being added or removed: a view's current cell moves without the user.
    bool Reshaping() const { return reshaping_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void currentCellChanged(int col, int row);

private:
    std::vector<std::array<QString, ColCount>> rows_;
    int col_ = 0;
    int row_ = 1;
    bool reshaping_ = false;
};

// The game list: one entry per game of the match, and the selected entry (-1: none).
class GameListModel : public QStringListModel {
    Q_OBJECT
public:
    explicit GameListModel(QObject* parent = nullptr) : QStringListModel(parent) {}

    int ItemIndex() const { return itemIndex_; }
    // An index outside the list selects nothing.
    void SetItemIndex(int index);
    void Add(const QString& text);
    void Clear();
    QStringList Items() const { return stringList(); }

signals:
    void itemIndexChanged(int index);

private:
    int itemIndex_ = -1;
};
