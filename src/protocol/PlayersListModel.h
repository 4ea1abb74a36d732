#pragma once

#include <QAbstractTableModel>
#include <QCollatorSortKey>
#include <QColor>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QVector>

#include <array>
#include <functional>
#include <unordered_map>
#include <vector>

// Columns of the players lists; the row caption is column 0, column n >= 1 is sub-item n - 1.
enum PlayerColumn : int {
    ColPlayerName,
    ColOpponent,
    ColStatus,
    ColRating,
    ColExperience,
    ColGender,
    ColCountry,
    ColEmail,
    ColSavedGames,
    ColClient,
    ColFirstName,
    ColLastName,
    ColHost,
    PlayerColumnCount
};

// One row of a players list: the caption, the twelve sub-items and the three images.
struct TPlayerRow {
    QString Caption;
    std::array<QString, PlayerColumnCount - 1> SubItems;
    int StateIndex = -1;    // rating icon before the name; -1: none
    int OpponentImage = -1; // image of the "Opponent" column
    int GenderImage = -1;   // image of the "G" column
    quint64 Id = 0;         // follows the row through sorts, so a view keeps its selection

    const QString& Cell(int column) const
    {
        return column == ColPlayerName ? Caption : SubItems[std::size_t(column - 1)];
    }
    void SetCell(int column, const QString& text)
    {
        (column == ColPlayerName ? Caption : SubItems[std::size_t(column - 1)]) = text;
    }
};

// A players list (the master list LVTemp or the visible LVPlayers). The session edits the rows
// freely while it handles a burst of lines; views see the edits only when Publish() runs, as
// one removal, one insertion, one reordering and one repaint, however many lines changed.
class PlayersListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static const char* const ColumnCaptions[PlayerColumnCount];
    static const int ColumnWidths[PlayerColumnCount];
    // A cell's image index in ILRating (-1: none).
    static constexpr int ImageIndexRole = Qt::UserRole + 1;

    explicit PlayersListModel(QObject* parent = nullptr);

    // The rows as the session sees them.
    int Count() const { return int(rows_.size()); }
    const TPlayerRow& Row(int i) const { return rows_[std::size_t(i)]; }
    const std::vector<TPlayerRow>& Rows() const { return rows_; }
    TPlayerRow& EditRow(int i);
    // Position of the last row with that name, or -1.
    int Find(const QString& name) const;
    // Adds a copy of the row at the end (a new identity); returns its position.
    int Append(const TPlayerRow& row);
    void RemoveAt(int i);
    void Clear();

    // Orders the rows: column 0 by name in the locale's order, ascending whatever the
    // direction; Rating and Experience as integers, "G" by image index, any other column
    // by its text, byte by byte. Rows with equal keys stay in name order.
    void Sort(int column, bool descending);
    // Asks for a sort at the next settling of the lists.
    void RequestSort();
    bool TakeSortRequest();

    // Shows the edits made since the last call to the views.
    void Publish();
    bool HasPendingChanges() const { return changed_; }

    // The rows the views show (equal to Rows() once published).
    const TPlayerRow* ShownRow(int row) const;

    void SetImageList(const QVector<QIcon>& images);
    void SetRowColours(std::function<QColor(const TPlayerRow&)> background);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // The first edit since the last Publish(): the owner schedules the next one.
    void changesPending();

private:
    void markChanged();
    const QCollatorSortKey& nameKey(const QString& name) const;

    std::vector<TPlayerRow> rows_;
    std::vector<TPlayerRow> shown_;
    mutable QHash<QString, int> index_;
    mutable bool indexStale_ = false;
    mutable std::unordered_map<QString, QCollatorSortKey> nameKeys_;
    bool changed_ = false;
    bool sortRequested_ = false;
    quint64 nextId_ = 1;
    QVector<QIcon> images_;
    std::function<QColor(const TPlayerRow&)> background_;
};

// The image of a players-list row for a rating (ILRating 0..6); ratings of 0 or below leave
// the image as it was.
void SetRatingImage(int& image, int rating);
