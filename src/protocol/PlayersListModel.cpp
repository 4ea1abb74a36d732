#include "protocol/PlayersListModel.h"

#include <QCollator>
#include <QSet>

#include <algorithm>
#include <numeric>

const char* const PlayersListModel::ColumnCaptions[PlayerColumnCount] = {
    "Player Name", "Opponent",  "Status",     "Rating",    "Experience", "G",    "Country",
    "Email",       "Saved games", "Client",   "Fisrt name", "Last Name", "Host"};

const int PlayersListModel::ColumnWidths[PlayerColumnCount] = {170, 110, 60,  60,  70,  20, 100,
                                                               150, 150, 120, 120, 120, 250};

void SetRatingImage(int& image, int rating)
{
    if (rating <= 0)
        return;
    if (rating > 1900)
        image = 6;
    else if (rating > 1800)
        image = 5;
    else if (rating > 1700)
        image = 4;
    else if (rating > 1600)
        image = 3;
    else if (rating > 1500)
        image = 2;
    else if (rating > 1400)
        image = 1;
    else
        image = 0;
}

PlayersListModel::PlayersListModel(QObject* parent) : QAbstractTableModel(parent) {}

void PlayersListModel::markChanged()
{
    if (changed_)
        return;
    changed_ = true;
    emit changesPending();
}

TPlayerRow& PlayersListModel::EditRow(int i)
{
    markChanged();
    return rows_[std::size_t(i)];
}

int PlayersListModel::Find(const QString& name) const
{
    if (indexStale_) {
        index_.clear();
        for (int i = 0; i < int(rows_.size()); ++i)
            index_.insert(rows_[std::size_t(i)].Caption, i);
        indexStale_ = false;
    }
    return index_.value(name, -1);
}

int PlayersListModel::Append(const TPlayerRow& row)
{
    rows_.push_back(row);
    rows_.back().Id = nextId_++;
    const int position = int(rows_.size()) - 1;
    if (!indexStale_)
        index_.insert(row.Caption, position);
    markChanged();
    return position;
}

void PlayersListModel::RemoveAt(int i)
{
    rows_.erase(rows_.begin() + i);
    indexStale_ = true;
    markChanged();
}

void PlayersListModel::Clear()
{
    rows_.clear();
    index_.clear();
    indexStale_ = false;
    nameKeys_.clear();
    markChanged();
}

const QCollatorSortKey& PlayersListModel::nameKey(const QString& name) const
{
    auto found = nameKeys_.find(name);
    if (found == nameKeys_.end()) {
        static const QCollator collator;
        found = nameKeys_.emplace(name, collator.sortKey(name)).first;
    }
    return found->second;
}

void PlayersListModel::Sort(int column, bool descending)
{
    const int n = int(rows_.size());
    // Keys are worked out once per row, not once per comparison.
    std::vector<const QCollatorSortKey*> names(static_cast<std::size_t>(n), nullptr);
    for (int i = 0; i < n; ++i)
        names[std::size_t(i)] = &nameKey(rows_[std::size_t(i)].Caption);
    std::vector<qint64> numbers;
    if (column == ColRating || column == ColExperience || column == ColGender) {
        numbers.resize(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            const TPlayerRow& row = rows_[std::size_t(i)];
            numbers[std::size_t(i)] =
                column == ColGender ? row.GenderImage : row.Cell(column).toLongLong();
        }
    }
    const auto byName = [&](int a, int b) {
        return names[std::size_t(a)]->compare(*names[std::size_t(b)]) < 0;
    };
    const auto keyOrder = [&](int a, int b) -> int {
        if (!numbers.empty()) {
            const qint64 x = numbers[std::size_t(a)];
            const qint64 y = numbers[std::size_t(b)];
            return x < y ? -1 : x > y ? 1 : 0;
        }
        return rows_[std::size_t(a)].Cell(column).compare(rows_[std::size_t(b)].Cell(column));
    };

    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    if (column <= ColPlayerName || column >= PlayerColumnCount) {
        std::stable_sort(order.begin(), order.end(), byName);
    } else {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = keyOrder(a, b);
            if (c != 0)
                return descending ? c > 0 : c < 0;
            return byName(a, b);
        });
    }

    bool moved = false;
    std::vector<TPlayerRow> sorted;
    sorted.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        moved = moved || order[std::size_t(i)] != i;
        sorted.push_back(std::move(rows_[std::size_t(order[std::size_t(i)])]));
    }
    rows_ = std::move(sorted);
    if (moved) {
        indexStale_ = true;
        markChanged();
    }
}

void PlayersListModel::RequestSort()
{
    sortRequested_ = true;
    markChanged();
}

bool PlayersListModel::TakeSortRequest()
{
    const bool requested = sortRequested_;
    sortRequested_ = false;
    return requested;
}

void PlayersListModel::Publish()
{
    if (!changed_)
        return;
    changed_ = false;

    QHash<quint64, int> target;
    target.reserve(qsizetype(rows_.size()));
    for (int i = 0; i < int(rows_.size()); ++i)
        target.insert(rows_[std::size_t(i)].Id, i);

    // Rows that are gone, one run of neighbours at a time, from the bottom up.
    for (int end = int(shown_.size()); end > 0;) {
        if (target.contains(shown_[std::size_t(end - 1)].Id)) {
            --end;
            continue;
        }
        int begin = end - 1;
        while (begin > 0 && !target.contains(shown_[std::size_t(begin - 1)].Id))
            --begin;
        beginRemoveRows(QModelIndex(), begin, end - 1);
        shown_.erase(shown_.begin() + begin, shown_.begin() + end);
        endRemoveRows();
        end = begin;
    }

    // New rows arrive at the bottom, all at once.
    QSet<quint64> known;
    known.reserve(qsizetype(shown_.size()));
    for (const TPlayerRow& row : shown_)
        known.insert(row.Id);
    std::vector<const TPlayerRow*> added;
    for (const TPlayerRow& row : rows_) {
        if (!known.contains(row.Id))
            added.push_back(&row);
    }
    if (!added.empty()) {
        const int first = int(shown_.size());
        beginInsertRows(QModelIndex(), first, first + int(added.size()) - 1);
        for (const TPlayerRow* row : added)
            shown_.push_back(*row);
        endInsertRows();
    }

    // Then the order and the contents.
    bool sameOrder = true;
    for (std::size_t i = 0; i < rows_.size() && sameOrder; ++i)
        sameOrder = shown_[i].Id == rows_[i].Id;
    if (!sameOrder) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(this->index(target.value(shown_[std::size_t(index.row())].Id),
                                     index.column()));
        shown_ = rows_;
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    } else {
        shown_ = rows_;
    }
    if (!shown_.empty())
        emit dataChanged(index(0, 0), index(int(shown_.size()) - 1, PlayerColumnCount - 1));
}

const TPlayerRow* PlayersListModel::ShownRow(int row) const
{
    return row >= 0 && row < int(shown_.size()) ? &shown_[std::size_t(row)] : nullptr;
}

void PlayersListModel::SetImageList(const QVector<QIcon>& images)
{
    images_ = images;
    if (!shown_.empty())
        emit dataChanged(index(0, 0), index(int(shown_.size()) - 1, PlayerColumnCount - 1));
}

void PlayersListModel::SetRowColours(std::function<QColor(const TPlayerRow&)> background)
{
    background_ = std::move(background);
}

int PlayersListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

int PlayersListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PlayerColumnCount;
}

QVariant PlayersListModel::data(const QModelIndex& index, int role) const
{
    const TPlayerRow* row = ShownRow(index.row());
    if (!row || index.column() < 0 || index.column() >= PlayerColumnCount)
        return {};
    const int column = index.column();
    const auto image = [&]() {
        switch (column) {
        case ColPlayerName:
            return row->StateIndex;
        case ColOpponent:
            return row->OpponentImage;
        case ColGender:
            return row->GenderImage;
        default:
            return -1;
        }
    };
    switch (role) {
    case Qt::DisplayRole:
        return row->Cell(column);
    case ImageIndexRole:
        return image();
    case Qt::DecorationRole: {
        const int i = image();
        if (i >= 0 && i < images_.size())
            return images_.at(i);
        return {};
    }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        const QColor colour = background_ ? background_(*row) : QColor();
        if (!colour.isValid())
            return {};
        if (role == Qt::BackgroundRole)
            return colour;
        // Dark rows (friends, villains) keep their text readable.
        return colour.lightness() < 140 ? QColor(Qt::white) : QVariant();
    }
    default:
        return {};
    }
}

QVariant PlayersListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= PlayerColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(ColumnCaptions[section]);
    return {};
}
