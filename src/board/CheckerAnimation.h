#pragma once

#include <QPoint>
#include <QtGlobal>

// Pixels a moving checker advances per frame along its major axis, for AnimationSpeed 0..10;
// a speed outside that range (a hand-edited settings file) counts as the nearest end.
double AnimationStep(int animationSpeed);

// The frames of one checker sliding from start to end (top left corners of the picture).
// Frame n puts the checker at start shifted by n times the per-frame step on each axis, each
// rounded half to even, so the last frame may stop up to one step beyond the end; the redraw
// after the slide puts the checker in place. Frames are tied to time, one per nominal
// millisecond, so a slide takes as long on any machine.
class CheckerAnimation {
public:
    static constexpr int FrameMs = 1;

    CheckerAnimation(QPoint start, QPoint end, double step);

    QPoint Start() const { return start_; }
    QPoint End() const { return end_; }
    // No frame at all for a zero-length path.
    int FrameCount() const { return frames_; }
    qint64 DurationMs() const { return qint64(frames_) * FrameMs; }
    // Frame 0 is the start point.
    QPoint FramePosition(int n) const;
    // The frame due once elapsedMs have passed since the slide began.
    int FrameAt(qint64 elapsedMs) const;

private:
    QPoint start_;
    QPoint end_;
    double sx_ = 0;
    double sy_ = 0;
    int frames_ = 0;
};
