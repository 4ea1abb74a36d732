#include "board/BoardView.h"

#include "board/BoardTheme.h"
#include "model/Positions.h"
#include "protocol/ClientSession.h"

BoardView::BoardView(ClientSession& session) : session_(session) {}

bool BoardView::ApplyTheme()
{
    const TSettings& settings = session_.Settings;
    TBoardDescription description;
    QString error;
    if (!LoadBoardDescription(settings.DefaultBoard, description, &error)
        || !Renderer.LoadTheme(session_.AppFolder, description, settings.PlayWithBlueChecker,
                               &error)) {
        session_.DisplayMemo.addLine(
            QStringLiteral("**The board theme could not be loaded: %1**").arg(error));
        return false;
    }
    session_.BoardDescription = description;
    return true;
}

void BoardView::DrawPosition(const TPositions& position)
{
    if (BoardPort* board = session_.Ports().board)
        board->drawPosition(position);
}

void BoardView::MoveChecker(int from, int to)
{
    pending_.push_back({from, to, {}});
    pump();
}

void BoardView::AfterCheckerMoves(std::function<void()> action)
{
    pending_.push_back({0, 0, std::move(action)});
    pump();
}

void BoardView::pump()
{
    // A port that ends its slide at once calls back into here: the outer loop goes on.
    if (pumping_)
        return;
    pumping_ = true;
    while (!moving_ && !pending_.empty()) {
        Pending next = std::move(pending_.front());
        pending_.pop_front();
        if (next.action)
            next.action();
        else
            startMove(next.from, next.to);
    }
    pumping_ = false;
}

void BoardView::startMove(int from, int to)
{
    const auto onBoard = [](int i) { return i >= -1 && i <= 26; };
    if (!onBoard(from) || !onBoard(to))
        return;
    TPositions& p = session_.CurrentPosition;
    const TPositions before = p;
    const int s = p.Board(from) < 0 ? -1 : 1;
    p.Board(from) -= s;
    DrawPosition(p);
    moving_ = true;
    session_.HoldQueue();
    auto done = [this, to, s] { finishMove(to, s); };
    if (BoardPort* board = session_.Ports().board)
        board->animateChecker(before, from, to, std::move(done));
    else
        done();
}

void BoardView::finishMove(int to, int s)
{
    TPositions& p = session_.CurrentPosition;
    if (p.Board(to) * s < 0) {
        // The hit checker is not slid: it appears on the bar of the side not on turn.
        p.Board(to) = 0;
        p.Board(MirrorIndex(p.Turn == p.Colour ? 0 : 25, p)) -= s;
    }
    p.Board(to) += s;
    DrawPosition(p);
    moving_ = false;
    session_.ReleaseQueue();
    pump();
}
