#include "board/WidgetBoard.h"

#include "protocol/ClientSession.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace {

constexpr double FallbackRefreshRate = 60.0;

} // namespace

WidgetBoard::WidgetBoard(ClientSession& session, QWidget* parent)
    : QWidget(parent), session_(session), frameTimer_(new QTimer(this))
{
    frameTimer_->setTimerType(Qt::PreciseTimer);
    connect(frameTimer_, &QTimer::timeout, this, &WidgetBoard::nextFrame);
    fitToBoard();
}

WidgetBoard::~WidgetBoard()
{
    // The session outlives the window's controls: it must not reach a board that is gone.
    if (session_.Ports().board == this)
        session_.Ports().board = nullptr;
}

void WidgetBoard::fitToBoard()
{
    const QSize size = session_.Board.Renderer.BoardSize();
    if (minimumSize() != size || maximumSize() != size)
        setFixedSize(size);
}

void WidgetBoard::drawPosition(const TPositions& position)
{
    BoardRenderer& renderer = session_.Board.Renderer;
    renderer.DrawPosition(position);
    fitToBoard();
    if (animation_) {
        // The board changed under a sliding checker: it goes on over the new picture.
        renderer.SnapshotBackground();
        renderer.DrawAnimationFrame(checkerRect_, checkerRect_, side_);
    }
    update();
}

void WidgetBoard::animateChecker(const TPositions& position, int from, int to,
                                 std::function<void()> done)
{
    if (animation_)
        finishSlide();
    BoardRenderer& renderer = session_.Board.Renderer;
    const BoardRenderer::CheckerSlide slide = renderer.SlideFor(position, from, to);
    CheckerAnimation animation(slide.start, slide.end,
                               AnimationStep(session_.Settings.AnimationSpeed));
    if (animation.FrameCount() == 0 || !renderer.HasTheme()) {
        done();
        return;
    }
    renderer.SnapshotBackground();
    animation_ = animation;
    checkerRect_ = renderer.CheckerRect(slide.start);
    side_ = slide.side;
    shownFrame_ = 0;
    done_ = std::move(done);
    const QScreen* shown = screen();
    const double rate =
        shown && shown->refreshRate() > 1 ? shown->refreshRate() : FallbackRefreshRate;
    frameTimer_->start(std::max(1, int(std::lround(1000.0 / rate))));
    clock_.start();
}

void WidgetBoard::nextFrame()
{
    if (!animation_)
        return;
    const int frame = animation_->FrameAt(clock_.elapsed());
    if (frame > shownFrame_) {
        shownFrame_ = frame;
        BoardRenderer& renderer = session_.Board.Renderer;
        const QRect next = renderer.CheckerRect(animation_->FramePosition(frame));
        update(renderer.DrawAnimationFrame(checkerRect_, next, side_));
        checkerRect_ = next;
    }
    if (shownFrame_ >= animation_->FrameCount())
        finishSlide();
}

void WidgetBoard::finishSlide()
{
    frameTimer_->stop();
    animation_.reset();
    // The owner redraws the position when told the slide has ended.
    const std::function<void()> done = std::move(done_);
    done_ = nullptr;
    if (done)
        done();
}

void WidgetBoard::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage& image = session_.Board.Renderer.CompositionImage();
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), image, area);
}

void WidgetBoard::repaintArea(const QRect& area)
{
    if (!area.isEmpty())
        update(area);
}

void WidgetBoard::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    repaintArea(session_.Mouse.IBoardMouseDown(event->button(), at.x(), at.y()));
}

void WidgetBoard::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    repaintArea(session_.Mouse.IBoardMouseMove(at.x(), at.y()));
}

void WidgetBoard::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    repaintArea(session_.Mouse.IBoardMouseUp(event->button(), at.x(), at.y()));
}
