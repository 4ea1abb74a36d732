#include "community/FriendsList.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr int RecordSize = 40;
constexpr int NameRoom = 30;
constexpr int RatingOffset = 32;
constexpr int ListOffset = 36;

QByteArray record(const TFriendRow& row, bool friendList)
{
    QByteArray bytes(RecordSize, '\0');
    const QByteArray name = row.Name.toLatin1().left(NameRoom);
    bytes[0] = char(name.size());
    std::copy(name.begin(), name.end(), bytes.begin() + 1);
    qToLittleEndian<qint32>(row.Rating.trimmed().toInt(), bytes.data() + RatingOffset);
    bytes[ListOffset] = friendList ? 1 : 0;
    return bytes;
}

} // namespace

const int FriendsListModel::ColumnWidths[ColumnCount - 1] = {140, 98, 100};

FriendsListModel::FriendsListModel(const QString& firstCaption, QObject* parent)
    : QAbstractTableModel(parent), firstCaption_(firstCaption)
{
}

bool FriendsListModel::Contains(const QString& name) const
{
    return std::any_of(rows_.begin(), rows_.end(),
                       [&name](const TFriendRow& row) { return row.Name == name; });
}

int FriendsListModel::Add(const TFriendRow& row)
{
    const auto place = std::upper_bound(rows_.begin(), rows_.end(), row,
                                        [](const TFriendRow& a, const TFriendRow& b) {
                                            return QString::localeAwareCompare(a.Name, b.Name) < 0;
                                        });
    const int at = int(place - rows_.begin());
    beginInsertRows(QModelIndex(), at, at);
    rows_.insert(place, row);
    endInsertRows();
    return at;
}

void FriendsListModel::SetCells(int i, const QString& rating, const QString& change,
                                const QString& status)
{
    TFriendRow& row = rows_[std::size_t(i)];
    row.Rating = rating;
    row.RatingChange = change;
    row.Status = status;
    emit dataChanged(index(i, 1), index(i, ColumnCount - 1));
}

int FriendsListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int FriendsListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FriendsListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= Count())
        return {};
    const TFriendRow& row = rows_[std::size_t(index.row())];
    switch (index.column()) {
    case 0:
        return row.Name;
    case 1:
        return row.Rating;
    case 2:
        return row.RatingChange;
    case 3:
        return row.Status;
    default:
        return {};
    }
}

QVariant FriendsListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return firstCaption_;
    case 1:
        return QStringLiteral("Rating");
    case 2:
        return QStringLiteral("Rating change");
    case 3:
        return QStringLiteral("Status");
    default:
        return {};
    }
}

void LoadFriendsFile(const QString& path, FriendsListModel& friends, FriendsListModel& villains)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    for (qsizetype at = 0; at + RecordSize <= data.size(); at += RecordSize) {
        const char* rec = data.constData() + at;
        const int length = std::min(int(static_cast<unsigned char>(rec[0])), NameRoom);
        const qint32 rating = qFromLittleEndian<qint32>(rec + RatingOffset);
        const TFriendRow row{QString::fromLatin1(rec + 1, length), QString::number(rating),
                             QStringLiteral(" "), QStringLiteral("Offline")};
        (rec[ListOffset] == 1 ? friends : villains).Add(row);
    }
}

bool SaveFriendsFile(const QString& path, const FriendsListModel& friends,
                     const FriendsListModel& villains, QString* error)
{
    QByteArray data;
    for (const TFriendRow& row : friends.Rows())
        data += record(row, true);
    for (const TFriendRow& row : villains.Rows())
        data += record(row, false);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
