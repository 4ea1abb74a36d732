#include "protocol/Stretches.h"

#include "chat/ChatStretch.h"
#include "protocol/BoardLineStretch.h"
#include "protocol/ClientSession.h"
#include "protocol/GameEventsStretch.h"
#include "protocol/LoginStretch.h"
#include "protocol/MatchStartStretch.h"
#include "protocol/OwnInfoStretch.h"
#include "protocol/WhoInfoStretch.h"
#include "records/SavedGames.h"

void InstallStretches(ClientSession& session)
{
    InstallOwnInfoStretch(session);
    InstallChatStretch(session);
    InstallLoginStretch(session);
    InstallWhoInfoStretch(session);
    InstallMatchStartStretch(session);
    InstallBoardLineStretch(session);
    InstallGameEventsStretch(session);
    InstallSavedGamesStretch(session);
}
