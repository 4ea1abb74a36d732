#pragma once

#include <QString>

// The user's server-side settings, in the order of the server's own-information line.
struct TOwnInfo {
    QString Name;
    bool AllowPip = false;
    bool AutoBoard = false;
    bool AutoDouble = false;
    bool AutoMove = false;
    bool Away = false;
    bool Bell = false;
    bool Crawford = false;
    bool Double = false;
    int Experience = 0;
    bool Greedy = false;
    bool MoreBoards = false;
    bool Moves = false;
    bool Notify = false;
    int Rating = 0;
    bool Ratings = false;
    bool Ready = false;
    int Redoubles = 0;
    bool Report = false;
    bool Silent = false;
    QString Timezone;
};
