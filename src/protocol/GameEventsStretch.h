#pragma once

class ClientSession;

// The dispatcher row for the events of a game being played or watched: rolls, moves, cube
// actions, blocked rolls, resignations, game and match ends, and the next-game prompt.
void InstallGameEventsStretch(ClientSession& session);
