#pragma once

#include "board/BoardTheme.h"
#include "board/TBoardDescription.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>
#include <array>

struct TPositions;

// Draws positions from the loaded theme into an off-screen image. Without a theme (none loaded
// yet, or the first one failed) the board is a plain surface without pieces.
class BoardRenderer {
public:
    static constexpr QSize BlankBoardSize{650, 500};

    BoardRenderer();

    // Loads the theme's pictures and makes it the one drawn, with its point anchors. When a
    // picture fails the theme in place stays and error names the file.
    bool LoadTheme(const QString& appFolder, const TBoardDescription& description,
                   bool playWithBlueChecker, QString* error = nullptr);
    // Frees the pictures and both off-screen images; the plain board is drawn afterwards.
    void Release();

    bool HasTheme() const { return pictures_.IsLoaded(); }
    const TBoardDescription& Description() const { return description_; }
    const TBoardPictures& Pictures() const { return pictures_; }
    QSize BoardSize() const { return composition().size(); }

    // Anchor of every stack by display index -1..26, from the description.
    void ComputePointAnchors();
    QPoint PointAnchor(int display) const;
    // Stacks in the lower half (display up to 12) grow upwards.
    static int RowSign(int display) { return display > 12 ? 1 : -1; }
    // Top left corner of checker j (from 1) of a stack.
    static QPoint StackedCheckerPosition(QPoint anchor, int rowSign, int checkerSize, int j);

    // Composes the position: board, checkers, turn indicator, cube, dice.
    void DrawPosition(const TPositions& position);
    const QImage& CompositionImage() const { return composition(); }

    // One checker sliding from board index `from` to `to` (server numbering), computed on the
    // position before the checker was lifted; side 1 is the near side's picture.
    struct CheckerSlide {
        QPoint start;
        QPoint end;
        int side = 0;
    };
    CheckerSlide SlideFor(const TPositions& before, int from, int to) const;
    // The area a moving checker covers with its top left corner at `at`.
    QRect CheckerRect(QPoint at) const;
    // Keeps the composed board as the background that moving pictures are erased against.
    void SnapshotBackground();
    // Erases `previous` from the background, draws the side's checker over `current` and
    // returns the union of both, the only area that changed.
    QRect DrawAnimationFrame(const QRect& previous, const QRect& current, int side);
    // Draws the ghost checker over the composed board with its top left corner at each place.
    void DrawGhosts(const QVector<QPoint>& places);

private:
    const QImage& composition() const;
    const QImage& checkerPicture(int side) const;

    TBoardDescription description_;
    TBoardPictures pictures_;
    std::array<QPoint, 28> anchors_{}; // display -1..26 at offset +1
    QImage blank_;
};
