#pragma once

class TFTabulon;

// Binds the "Game" tab (moves list, game list, navigation buttons), the Watch and Unwatch
// commands and the players list's selection to the main window's session. Runs after the
// players tab is bound.
void BindGamePage(TFTabulon& window);
