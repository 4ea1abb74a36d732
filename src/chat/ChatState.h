#pragma once

#include <QJsonArray>
#include <QJsonObject>

class ChoiceList;
class MessagesBox;
class TextLog;

// The chat panes, the private command choice and the messages window in the session's state.
// A pane: one object per line, its "text" and "colour" ("#rrggbb", "" for the memo's own).
QJsonArray TextLogJson(const TextLog& log);
// "items", "selected" (-1: none) and "text".
QJsonObject ChoiceListJson(const ChoiceList& choices);
// "Visible", "PageIndex", "LVInBox" and "LVSend" (rows of cells), "CBRecipient", "MMessage",
// "MWriteMessage".
QJsonObject MessagesBoxJson(const MessagesBox& box);
