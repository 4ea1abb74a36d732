#include "board/BoardRenderer.h"

#include "model/Positions.h"

#include <QPainter>

#include <cstdlib>

namespace {

const QColor BlankBoardColour(29, 90, 60);

bool isDisplayIndex(int display)
{
    return display >= -1 && display <= 26;
}

} // namespace

BoardRenderer::BoardRenderer()
{
    Release();
}

bool BoardRenderer::LoadTheme(const QString& appFolder, const TBoardDescription& description,
                              bool playWithBlueChecker, QString* error)
{
    if (!LoadBoardPictures(appFolder, description.BoardName, description, playWithBlueChecker,
                           pictures_, error))
        return false;
    description_ = description;
    blank_ = QImage();
    ComputePointAnchors();
    return true;
}

void BoardRenderer::Release()
{
    pictures_ = TBoardPictures{};
    description_ = TBoardDescription{};
    anchors_.fill(QPoint());
    blank_ = QImage(BlankBoardSize, QImage::Format_ARGB32_Premultiplied);
    blank_.fill(BlankBoardColour);
}

const QImage& BoardRenderer::composition() const
{
    return HasTheme() ? pictures_.CompositionImage : blank_;
}

void BoardRenderer::ComputePointAnchors()
{
    const TBoardDescription& d = description_;
    const auto set = [this](int display, int x, int y) {
        anchors_[std::size_t(display + 1)] = QPoint(x, y);
    };
    set(-1, d.Point[0], d.Point_Red_Y);
    set(0, d.Point[7], d.Bar_Red_Y);
    for (int i = 1; i <= 6; ++i) {
        set(i, d.Point[std::size_t(i)], d.Point_Red_Y);
        set(25 - i, d.Point[std::size_t(i)], d.Point_Blue_Y);
    }
    for (int i = 7; i <= 12; ++i) {
        set(i, d.Point[std::size_t(i + 1)], d.Point_Red_Y);
        set(25 - i, d.Point[std::size_t(i + 1)], d.Point_Blue_Y);
    }
    set(25, d.Point[7], d.Bar_Blue_Y);
    set(26, d.Point[0], d.Point_Blue_Y);
}

QPoint BoardRenderer::PointAnchor(int display) const
{
    return isDisplayIndex(display) ? anchors_[std::size_t(display + 1)] : QPoint();
}

QPoint BoardRenderer::StackedCheckerPosition(QPoint anchor, int rowSign, int checkerSize, int j)
{
    // Five to a column; the sixth to tenth lie over the first five, shifted 1 pixel across and
    // 4 along, the rest shifted 2 and 8.
    if (j <= 5)
        return anchor + QPoint(0, (j - 1) * rowSign * checkerSize);
    if (j <= 10)
        return anchor + QPoint(1, rowSign * ((j - 6) * checkerSize + 4));
    return anchor + QPoint(2, rowSign * ((j - 11) * checkerSize + 8));
}

void BoardRenderer::DrawPosition(const TPositions& position)
{
    if (!HasTheme())
        return;
    const TBoardDescription& d = description_;
    const TBoardPictures& pics = pictures_;
    QImage& target = pictures_.CompositionImage;
    QPainter painter(&target);
    // The board replaces the last frame outright, transparent parts included.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (pics.BoardPicture.size() != target.size())
        painter.fillRect(target.rect(), Qt::transparent);
    painter.drawImage(0, 0, pics.BoardPicture);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    const int colour = position.Colour;
    for (int display = 26; display >= -1; --display) {
        const int n = position.Board(MirrorIndex(display, position));
        const int owner = n * colour;
        if (owner == 0)
            continue;
        const QImage& checker = owner > 0 ? pics.OwnCheckerPicture : pics.OpponentCheckerPicture;
        const QPoint anchor = PointAnchor(display);
        const int sign = RowSign(display);
        for (int j = 1, count = std::abs(n); j <= count; ++j)
            painter.drawImage(StackedCheckerPosition(anchor, sign, d.Checker_Size, j), checker);
    }

    if (position.Turn * colour == -1)
        painter.drawImage(QPoint(d.Indicator_Red_X, d.Indicator_Red_Y), pics.OpponentIndicatorPicture);
    else if (position.Turn * colour == 1)
        painter.drawImage(QPoint(d.Indicator_Blue_X, d.Indicator_Blue_Y), pics.OwnIndicatorPicture);

    if (!position.Crawford) {
        const int cube = position.Cube;
        QPoint at;
        if (cube < 0)
            at = position.Turn == colour ? QPoint(d.Cube_Left_Pos_X, d.Cube_Left_Pos_Y)
                                         : QPoint(d.Cube_Right_Pos_X, d.Cube_Right_Pos_Y);
        else if (cube == 1)
            at = QPoint(d.Cube_Center_Pos_X, d.Cube_Center_Pos_Y);
        else
            at = QPoint(d.Cube_Center_Pos_X,
                        position.OpponentMayDouble ? d.Cube_Take_Pl2_Y : d.Cube_Take_Pl1_Y);
        if (const QImage* picture = pics.CubePicture(std::abs(cube)))
            painter.drawImage(at, *picture);
    }

    // Only one pair of dice is shown, the near side's first.
    const auto drawDie = [&painter](const std::array<QImage, 7>& faces, int value, int x, int y) {
        if (value >= 1 && value <= 6)
            painter.drawImage(QPoint(x, y), faces[std::size_t(value)]);
    };
    if (position.PlayerDie1 != 0) {
        drawDie(pics.OwnDicePictures, position.PlayerDie1, d.Dice1_Right_X, d.Dice_Y);
        drawDie(pics.OwnDicePictures, position.PlayerDie2, d.Dice2_Right_X, d.Dice_Y);
    } else if (position.OpponentDie1 != 0) {
        drawDie(pics.OpponentDicePictures, position.OpponentDie1, d.Dice1_Left_X, d.Dice_Y);
        drawDie(pics.OpponentDicePictures, position.OpponentDie2, d.Dice2_Left_X, d.Dice_Y);
    }
}

BoardRenderer::CheckerSlide BoardRenderer::SlideFor(const TPositions& before, int from, int to) const
{
    const int dFrom = MirrorIndex(from, before);
    const int dTo = MirrorIndex(to, before);
    const int s = before.Board(from) < 0 ? -1 : 1;
    const int c = description_.Checker_Size;
    // The checker leaves from the place of the last one on its point and lands where the next
    // one on the destination goes (five to a column; the layers above five are not counted).
    const int left = before.Board(from) - s;
    CheckerSlide slide;
    slide.start = PointAnchor(dFrom) + QPoint(0, std::abs(left % 5) * c * RowSign(dFrom));
    slide.end = PointAnchor(dTo) + QPoint(0, std::abs(before.Board(to) % 5) * c * RowSign(dTo));
    slide.side = before.Colour * s;
    return slide;
}

const QImage& BoardRenderer::checkerPicture(int side) const
{
    return side == 1 ? pictures_.OwnCheckerPicture : pictures_.OpponentCheckerPicture;
}

QRect BoardRenderer::CheckerRect(QPoint at) const
{
    const int c = description_.Checker_Size;
    return QRect(at, pictures_.OwnCheckerPicture.size().expandedTo(QSize(c, c)));
}

void BoardRenderer::SnapshotBackground()
{
    if (!HasTheme())
        return;
    QPainter painter(&pictures_.BackgroundImage);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, pictures_.CompositionImage);
}

QRect BoardRenderer::DrawAnimationFrame(const QRect& previous, const QRect& current, int side)
{
    if (HasTheme()) {
        QPainter painter(&pictures_.CompositionImage);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(previous.topLeft(), pictures_.BackgroundImage, previous);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(current.topLeft(), checkerPicture(side));
    }
    return previous.united(current);
}

void BoardRenderer::DrawGhosts(const QVector<QPoint>& places)
{
    if (!HasTheme())
        return;
    QPainter painter(&pictures_.CompositionImage);
    for (const QPoint& at : places)
        painter.drawImage(at, pictures_.GhostPicture);
}
