#pragma once

#include <QString>
#include <QStringList>

class ClientSession;

// The first rows of the dispatch chain: the own-information line (with the rating record),
// the ratings, gag and blind listings, the toggle confirmations and the opponent leaving.
void InstallOwnInfoStretch(ClientSession& session);

// The server's confirmations of the four tool-bar toggles, shown in a box.
extern const QStringList ToggleConfirmations;

// The tool bar's toggle buttons and the Match menu's toggle items: each sends its toggle
// 500 ms after the commands before it, then after another 500 ms copies the button's pressed
// state into OwnInfo. Nothing happens while not connected.
void TBAutomoveClick(ClientSession& session);
void TBGreedyClick(ClientSession& session);
void TBDoubleClick(ClientSession& session);
void TBReadyClick(ClientSession& session);
