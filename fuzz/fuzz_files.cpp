// The binary files the program reads back: the friends file, and the rating history that a new
// record is appended to. The first byte picks the file.
#include "FuzzSupport.h"
#include "community/FriendsList.h"
#include "ratings/RatingHistory.h"

#include <QFile>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1) {
        const QString path = FuzzWriteFile(QStringLiteral("friends.frd"), data + 1, size - 1);
        FriendsListModel friends(QStringLiteral("Friends"));
        FriendsListModel villains(QStringLiteral("Villains"));
        LoadFriendsFile(path, friends, villains);
        QString error;
        if (!SaveFriendsFile(path, friends, villains, &error))
            __builtin_trap();
    } else {
        const QString path = FuzzWriteFile(QStringLiteral("user.rat"), data + 1, size - 1);
        QString error;
        const qint64 before = (size - 1) / RatingRecordSize * RatingRecordSize;
        if (!AppendRatingRecord(path, TRatingRecord{45000.5, 1650}, &error))
            __builtin_trap();
        if (QFile(path).size() < before + RatingRecordSize)
            __builtin_trap(); // whole records before the new one must stay
    }
    return 0;
}
