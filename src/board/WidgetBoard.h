#pragma once

#include "board/CheckerAnimation.h"
#include "protocol/Ports.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class ClientSession;
class QTimer;

// The visible board: shows the session's composed board image and slides checkers over it.
// A slide runs on a timer at the screen's refresh rate and repaints only the area the checker
// left and entered; the window stays live meanwhile.
class WidgetBoard : public QWidget, public BoardPort {
    Q_OBJECT
public:
    explicit WidgetBoard(ClientSession& session, QWidget* parent = nullptr);
    ~WidgetBoard() override;

    void drawPosition(const TPositions& position) override;
    void animateChecker(const TPositions& position, int from, int to,
                        std::function<void()> done) override;

    bool Animating() const { return animation_.has_value(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Mouse play: forwarded to the session's state machine, which says what to repaint.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void nextFrame();
    void finishSlide();
    void fitToBoard();
    void repaintArea(const QRect& area);

    ClientSession& session_;
    QTimer* frameTimer_;
    QElapsedTimer clock_;
    std::optional<CheckerAnimation> animation_;
    QRect checkerRect_;
    int side_ = 0;
    int shownFrame_ = 0;
    std::function<void()> done_;
};
