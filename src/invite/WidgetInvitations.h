#pragma once

class TFTabulon;

// The invite, join and auto-invite windows of the main window: the players list's and the
// Players menu's "Invite", View > "View AutoInvite", and the join window that invitations
// open. Runs once the session has read its settings.
void BindInvitations(TFTabulon& window);
