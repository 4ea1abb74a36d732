#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

// One row of the friends or villains list.
struct TFriendRow {
    QString Name;
    QString Rating;       // integer rating as decimal text
    QString RatingChange; // signed difference of the last two ratings seen
    QString Status;       // "Offline", "Playing", "Away", "Ready" or "On line"
};

// The friends list (LVFriends) or the villains list (LVVilains): rows kept in name order as
// they are added.
class FriendsListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 4;
    static const int ColumnWidths[ColumnCount - 1]; // the last column takes the default width

    // firstCaption: "Friends" or "Villains".
    explicit FriendsListModel(const QString& firstCaption, QObject* parent = nullptr);

    int Count() const { return int(rows_.size()); }
    const TFriendRow& Row(int i) const { return rows_[std::size_t(i)]; }
    const std::vector<TFriendRow>& Rows() const { return rows_; }
    bool Contains(const QString& name) const;
    // Inserts the row at its place in name order; returns that place.
    int Add(const TFriendRow& row);
    // Rewrites the rating, change and status cells of a row.
    void SetCells(int i, const QString& rating, const QString& change, const QString& status);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString firstCaption_;
    std::vector<TFriendRow> rows_;
};

// friends.frd: 40-byte records, friends first, then villains. A missing file leaves both lists
// as they are; a cut-off last record is ignored.
void LoadFriendsFile(const QString& path, FriendsListModel& friends, FriendsListModel& villains);
// Rewrites the file from both lists, atomically; false with a reason when it cannot.
bool SaveFriendsFile(const QString& path, const FriendsListModel& friends,
                     const FriendsListModel& villains, QString* error);
