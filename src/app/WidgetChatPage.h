#pragma once

class TFTabulon;

// Binds the "Chat" tab (public pane, private command choice, the two inputs), the players'
// "Tell" and "Send message" commands and the messages window to the main window's session.
void BindChatPage(TFTabulon& window);
