#include "community/FriendsList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray record(const QByteArray& name, qint32 rating, char list, char junk = '\0')
{
    QByteArray r(40, junk);
    r[0] = char(name.size());
    for (int i = 0; i < name.size(); ++i)
        r[1 + i] = name[i];
    qToLittleEndian<qint32>(rating, r.data() + 32);
    r[36] = list;
    return r;
}

QStringList rows(const FriendsListModel& list)
{
    QStringList out;
    for (const TFriendRow& r : list.Rows())
        out << QStringList{r.Name, r.Rating, r.RatingChange, r.Status}.join('|');
    return out;
}

class FriendsFileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("friends.frd"); }
    void write(const QByteArray& data)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QByteArray read() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    FriendsListModel friends{"Friends"};
    FriendsListModel villains{"Villains"};
};

} // namespace

TEST_F(FriendsFileTest, LoadsFriendsAndVillainsAndWritesFriendsFirst)
{
    // Bytes after the name and the padding carry no meaning; any list byte but 1 is a villain.
    write(record("zed", 1712, 0, 'x') + record("amy", 1500, 1, 'y') + record("Bob", -3, 7)
          + QByteArray("cut-off"));
    LoadFriendsFile(path(), friends, villains);
    EXPECT_EQ(rows(friends), QStringList({"amy|1500| |Offline"}));
    EXPECT_EQ(villains.Count(), 2);
    EXPECT_TRUE(villains.Contains("zed"));
    EXPECT_TRUE(villains.Contains("Bob"));
    EXPECT_FALSE(villains.Contains("bob"));

    QString error;
    ASSERT_TRUE(SaveFriendsFile(path(), friends, villains, &error)) << error.toStdString();
    const QByteArray saved = read();
    ASSERT_EQ(saved.size(), 3 * 40);
    EXPECT_EQ(saved.left(40), record("amy", 1500, 1));
    EXPECT_EQ(saved.mid(40, 40), record("Bob", -3, 0));
    EXPECT_EQ(saved.mid(80, 40), record("zed", 1712, 0));
}

TEST_F(FriendsFileTest, NamesAreCutToThirtyAndTypedFriendsSaveRatingZero)
{
    const QString longName(35, QChar('a'));
    friends.Add({longName, "0", "0", "Offline"});
    friends.Add({"typed", "0", "0", "Offline"});
    ASSERT_TRUE(SaveFriendsFile(path(), friends, villains, nullptr));
    const QByteArray saved = read();
    ASSERT_EQ(saved.size(), 80);
    EXPECT_EQ(saved.left(40), record(QByteArray(30, 'a'), 0, 1));

    FriendsListModel again{"Friends"};
    FriendsListModel none{"Villains"};
    LoadFriendsFile(path(), again, none);
    EXPECT_EQ(again.Row(0).Name, QString(30, QChar('a')));
    EXPECT_EQ(none.Count(), 0);
}

TEST_F(FriendsFileTest, MissingFileLeavesTheListsEmptyAndRowsKeepNameOrder)
{
    LoadFriendsFile(path(), friends, villains);
    EXPECT_EQ(friends.Count(), 0);
    EXPECT_EQ(villains.Count(), 0);
    for (const char* name : {"Dora", "Bert", "Carl", "Anna"})
        friends.Add({name, "0", "0", "Offline"});
    EXPECT_EQ(friends.index(0, 0).data().toString(), "Anna");
    EXPECT_EQ(friends.index(3, 0).data().toString(), "Dora");
    EXPECT_EQ(friends.headerData(0, Qt::Horizontal).toString(), "Friends");
    EXPECT_EQ(villains.headerData(2, Qt::Horizontal).toString(), "Rating change");
}

TEST_F(FriendsFileTest, AFileThatCannotBeWrittenIsReported)
{
    QString error;
    EXPECT_FALSE(SaveFriendsFile(dir.filePath("missing/friends.frd"), friends, villains, &error));
    EXPECT_FALSE(error.isEmpty());
}
