#pragma once

class ClientSession;
struct TPositions;

// Names, pip and Thorp counts and score of both sides in panels 0 and 1 of the two status
// bars. The match length always comes from the live position, also for a stored one.
void ShowScorePanel(ClientSession& session, const TPositions& position);
void ShowScorePanel(ClientSession& session);
