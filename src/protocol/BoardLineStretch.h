#pragma once

class ClientSession;

// The dispatcher row for board lines: the live position, its two copies, the drawing and the
// score panel.
void InstallBoardLineStretch(ClientSession& session);
