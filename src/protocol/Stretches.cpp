#include "protocol/Stretches.h"

#include "protocol/ClientSession.h"

void InstallStretches(ClientSession& session)
{
    (void)session;
}
