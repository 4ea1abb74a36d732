#pragma once

class TFTabulon;

// Binds the players tab, the friends tab's lists, the private chat pane and the players'
// commands of the main window to its session. Runs once the session has read its settings.
void BindPlayersTab(TFTabulon& window);
