#include "board/CheckerAnimation.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckerAnimation, StepTableBySpeed)
{
    const double steps[] = {0.25, 0.33, 0.5, 0.75, 1.0, 1.5, 2.0, 4.0, 6.0, 8.0, 10.0};
    for (int speed = 0; speed <= 10; ++speed)
        EXPECT_EQ(AnimationStep(speed), steps[speed]) << speed;
    EXPECT_EQ(AnimationStep(-3), 0.25);
    EXPECT_EQ(AnimationStep(42), 10.0);
}

TEST(CheckerAnimation, ThirteenToSixTakesTwoHundredFrames)
{
    // 300 pixels across and 200 down at the default speed.
    const CheckerAnimation slide({34, 4}, {334, 204}, AnimationStep(5));
    EXPECT_EQ(slide.FrameCount(), 200);
    EXPECT_EQ(slide.DurationMs(), 200);
    EXPECT_EQ(slide.FramePosition(0), QPoint(34, 4));
    EXPECT_EQ(slide.FramePosition(1), QPoint(36, 5)); // 1.5 rounds to 2
    EXPECT_EQ(slide.FramePosition(3), QPoint(38, 7)); // 4.5 rounds to 4
    EXPECT_EQ(slide.FramePosition(100), QPoint(184, 104));
    EXPECT_EQ(slide.FramePosition(200), QPoint(334, 204));
}

TEST(CheckerAnimation, FramesAlongEitherAxisInEitherDirection)
{
    struct Case {
        QPoint start, end;
        double step;
        int frames;
        QPoint first, last;
    };
    const Case cases[] = {
        {{100, 50}, {40, 50}, 1.5, 40, {98, 50}, {40, 50}},     // leftwards
        {{0, 0}, {3, -10}, 2.0, 5, {1, -2}, {3, -10}},          // upwards, y the major axis
        {{0, 0}, {10, 10}, 1.0, 10, {1, 1}, {10, 10}},          // a tie goes to y
        {{0, 0}, {10, 5}, 1.0, 10, {1, 0}, {10, 5}},            // 0.5 rounds to even
        {{0, 0}, {10, 0}, 4.0, 3, {4, 0}, {12, 0}},             // the last frame overshoots
        {{5, 5}, {5, 5}, 1.5, 0, {5, 5}, {5, 5}},               // nothing to slide
    };
    for (const Case& c : cases) {
        const CheckerAnimation slide(c.start, c.end, c.step);
        SCOPED_TRACE(testing::Message() << c.start.x() << "," << c.start.y() << " to " << c.end.x()
                                        << "," << c.end.y());
        EXPECT_EQ(slide.FrameCount(), c.frames);
        if (c.frames > 0)
            EXPECT_EQ(slide.FramePosition(1), c.first);
        EXPECT_EQ(slide.FramePosition(c.frames), c.last);
    }
}

TEST(CheckerAnimation, OneFramePerMillisecond)
{
    const CheckerAnimation slide({0, 0}, {300, 0}, 1.5);
    EXPECT_EQ(slide.FrameAt(-5), 0);
    EXPECT_EQ(slide.FrameAt(0), 0);
    EXPECT_EQ(slide.FrameAt(16), 16);
    EXPECT_EQ(slide.FrameAt(199), 199);
    EXPECT_EQ(slide.FrameAt(5000), 200);
}

} // namespace
