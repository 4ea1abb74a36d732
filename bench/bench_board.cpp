// Composing a busy middle game on the default theme, and one frame of a checker slide.
#include "board/BoardRenderer.h"
#include "board/CheckerAnimation.h"
#include "model/TPositions.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

namespace {

// The theme shipped beside the program, loaded once.
const BoardRenderer* defaultTheme(QString* error)
{
    static BoardRenderer renderer;
    static QString failure;
    static const bool loaded = [] {
        const QString folder = QCoreApplication::applicationDirPath();
        TBoardDescription description;
        return LoadBoardDescription(folder + QStringLiteral("/Themes\\Titanium\\Titatium.ini"),
                                    description, &failure)
            && renderer.LoadTheme(folder, description, true, &failure);
    }();
    if (!loaded)
        *error = failure;
    return loaded ? &renderer : nullptr;
}

// Both sides spread over the board, one checker of each on the bar, some borne off, the
// dice rolled and the cube owned.
TPositions middleGame()
{
    TPositions p;
    p.Colour = 1;
    p.Turn = 1;
    const std::pair<int, int> checkers[] = {
        {-1, 3}, {25, 1}, {24, 1}, {13, 3}, {8, 2}, {6, 4}, {4, 1},
        {26, -2}, {0, -1}, {1, -2}, {12, -3}, {17, -3}, {19, -2}, {20, -2},
    };
    for (const auto& [point, count] : checkers)
        p.Board(point) = count;
    p.PlayerDie1 = 6;
    p.PlayerDie2 = 5;
    p.Cube = 2;
    p.OpponentMayDouble = true;
    return p;
}

void BM_DrawPosition(benchmark::State& state)
{
    QString error;
    const BoardRenderer* theme = defaultTheme(&error);
    if (!theme) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    BoardRenderer renderer = *theme;
    const TPositions position = middleGame();
    for (auto _ : state) {
        renderer.DrawPosition(position);
        benchmark::DoNotOptimize(renderer.CompositionImage().constBits());
    }
    state.counters["width"] = renderer.BoardSize().width();
    state.counters["height"] = renderer.BoardSize().height();
}
BENCHMARK(BM_DrawPosition)->Unit(benchmark::kMicrosecond);

void BM_AnimationFrame(benchmark::State& state)
{
    QString error;
    const BoardRenderer* theme = defaultTheme(&error);
    if (!theme) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    BoardRenderer renderer = *theme;
    const TPositions position = middleGame();
    renderer.DrawPosition(position);
    renderer.SnapshotBackground();
    // A slide from the 13 point to the 6 point, one screen refresh of frames apart.
    const BoardRenderer::CheckerSlide slide = renderer.SlideFor(position, 13, 6);
    const CheckerAnimation animation(slide.start, slide.end, AnimationStep(5));
    const int perRefresh = 16;
    int frame = 0;
    QRect shown = renderer.CheckerRect(slide.start);
    for (auto _ : state) {
        frame = frame + perRefresh > animation.FrameCount() ? 0 : frame + perRefresh;
        const QRect next = renderer.CheckerRect(animation.FramePosition(frame));
        benchmark::DoNotOptimize(renderer.DrawAnimationFrame(shown, next, 1));
        shown = next;
    }
}
BENCHMARK(BM_AnimationFrame)->Unit(benchmark::kMicrosecond);

} // namespace
