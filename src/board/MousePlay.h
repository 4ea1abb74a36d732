#pragma once

#include "board/TBoardDescription.h"
#include "model/MoveRules.h"
#include "model/TPositions.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>

class ClientSession;

// Hit areas of a theme, in board pixels. PointAt gives the display index under (x, y): 1 to 24
// the points, 25 the own bar, 0 the other bar, -1 the own tray, 26 the other tray; -2 none.
int PointAt(const TBoardDescription& d, int x, int y);
bool InRollArea(const TBoardDescription& d, int x, int y);
bool OnCubeAtOne(const TBoardDescription& d, int x, int y);
bool OnOwnedCube(const TBoardDescription& d, int x, int y);
bool OnOfferedCube(const TBoardDescription& d, int x, int y);
// dieHeight: height of the own die pictures.
bool OnOwnDice(const TBoardDescription& d, int dieHeight, int x, int y);

// Playing with the mouse on the board: presses roll, double, accept or pick up a checker, a
// drag shows the legal destinations and drops on one of them, a click moves by one die, and a
// press on the own dice sends the move once every checker the roll allows has moved. Fed with
// board pixel coordinates, so it runs the same with or without a screen.
class MousePlay {
public:
    // The dead zone around a press within which a release still counts as a click.
    static constexpr int DeadZone = 5;

    explicit MousePlay(ClientSession& session);

    // Each returns the board area whose pixels changed outside a full redraw (empty: none).
    QRect IBoardMouseDown(Qt::MouseButton button, int x, int y);
    QRect IBoardMouseMove(int x, int y);
    QRect IBoardMouseUp(Qt::MouseButton button, int x, int y);

    // Forgets the move being entered: command, ghosts, partial-move count and used dice.
    void ResetTurnEntry();
    // Where the ghost of each allowed destination is drawn (top left corners), G1 first.
    QVector<QPoint> GhostPlaces() const;

    int DragSource = MoveRefused;
    int DownX = 0;
    int DownY = 0;
    bool PickedUp = false;
    bool Dragging = false;
    bool DragStarted = false;
    bool GhostsShown = false;
    TDestinations Ghosts;
    int MovedCount = 0;
    bool Die1Used = false;
    bool Die2Used = false;
    QString MoveCommand;
    QPoint LastDragPoint;

private:
    const TBoardDescription& theme() const;
    bool positionReplaced() const;
    void liftAndShowGhosts();
    QRect dragFrame(int x, int y);
    void drop(int x, int y);
    void click(Qt::MouseButton button);
    bool clickWith(int die, bool& used);
    void writeStep(int from, int to);
    void playSound(const char* name);

    ClientSession& session_;
    // The position the entered steps have built; a board line replacing it ends the entry.
    TPositions builtPosition_;
};
