#include "board/CheckerAnimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

double AnimationStep(int animationSpeed)
{
    static constexpr std::array<double, 11> steps{0.25, 0.33, 0.5, 0.75, 1.0, 1.5,
                                                  2.0,  4.0,  6.0, 8.0,  10.0};
    return steps[std::size_t(std::clamp(animationSpeed, 0, int(steps.size()) - 1))];
}

CheckerAnimation::CheckerAnimation(QPoint start, QPoint end, double step)
    : start_(start), end_(end)
{
    const int dx = std::abs(end.x() - start.x());
    const int dy = std::abs(end.y() - start.y());
    if ((dx == 0 && dy == 0) || step <= 0)
        return;
    double p = 0;
    double target = 0;
    double major = 0;
    if (dx > dy) {
        sx_ = end.x() > start.x() ? step : -step;
        sy_ = double(end.y() - start.y()) * step / dx;
        p = start.x();
        target = end.x();
        major = sx_;
    } else {
        sy_ = end.y() > start.y() ? step : -step;
        sx_ = double(end.x() - start.x()) * step / dy;
        p = start.y();
        target = end.y();
        major = sy_;
    }
    // The progress value walks by the major step and stops on the target: the frame count
    // follows the same accumulation as the slide itself.
    while (p != target) {
        ++frames_;
        p += major;
        if ((major > 0 && p > target) || (major < 0 && p < target))
            p = target;
    }
}

QPoint CheckerAnimation::FramePosition(int n) const
{
    // std::nearbyint rounds half to even in the default rounding mode.
    return start_ + QPoint(int(std::nearbyint(n * sx_)), int(std::nearbyint(n * sy_)));
}

int CheckerAnimation::FrameAt(qint64 elapsedMs) const
{
    if (elapsedMs <= 0)
        return 0;
    return int(std::min<qint64>(frames_, elapsedMs / FrameMs));
}
