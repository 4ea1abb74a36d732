#pragma once

#include "board/BoardRenderer.h"

#include <deque>
#include <functional>

class ClientSession;
struct TPositions;

// The session's side of the board: the loaded theme with its pictures and composed image
// (shown by whatever board port the window supplies), applying a theme, and checker moves,
// which run one after another, each holding the line queue until its slide has ended.
class BoardView {
public:
    explicit BoardView(ClientSession& session);

    // Loads the theme Settings.DefaultBoard names: description, pictures, point anchors. When
    // a file fails, the theme in place (or the plain board) stays and the system memo says
    // which file. The caller draws the position afterwards.
    bool ApplyTheme();

    // Shows a position on the board port.
    void DrawPosition(const TPositions& position);

    // Moves one checker of CurrentPosition between two board indexes (server numbering, -1..26)
    // with a slide; a hit checker goes to its bar. A move asked for while another slides waits
    // for it; indexes outside the board are ignored.
    void MoveChecker(int from, int to);
    // Runs the action once every checker move asked for so far has ended (at once when none).
    void AfterCheckerMoves(std::function<void()> action);
    bool Moving() const { return moving_; }

    BoardRenderer Renderer;

private:
    struct Pending {
        int from = 0;
        int to = 0;
        std::function<void()> action; // set for AfterCheckerMoves, empty for a move
    };
    void pump();
    void startMove(int from, int to);
    void finishMove(int to, int s);

    ClientSession& session_;
    std::deque<Pending> pending_;
    bool moving_ = false;
    bool pumping_ = false;
};
