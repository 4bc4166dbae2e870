#include <QApplication>

#include <benchmark/benchmark.h>

#include "canvas.h"

namespace quolvet {
namespace {

Game fullBoard()
{
    Game game;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) game.board[x][y] = ((x + y) % 2 ? 1 : -1) * ((x * 7 + y) % 8 + 1);
    }
    game.enemyHand[KEI] = 3;
    game.ownHand[KIN] = 12;
    game.moveNumber = 37;
    return game;
}

// What the window draws before it is first shown, and again on a screen of another density:
// background, labels, hands, board, counter, title plate.
void drawWindow(Canvas& canvas)
{
    canvas.tileBackground();
    canvas.drawPosition();
    canvas.描画_絵(PIC_TITLE, 11.5, 0);
}

// The argument is the device pixel ratio in tenths.
double ratioOf(const benchmark::State& state) { return state.range(0) / 10.0; }

void BM_BoardRepaint(benchmark::State& state)
{
    const Game game = fullBoard();
    Canvas canvas(game, ratioOf(state));
    for (auto _ : state) {
        canvas.描画_盤();
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_BoardRepaint)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

// Everything drawn again into an image of the ratio.
void BM_WholeWindow(benchmark::State& state)
{
    const Game game = fullBoard();
    Canvas canvas(game, ratioOf(state));
    drawWindow(canvas);  // the fonts are set up once per program
    for (auto _ : state) {
        drawWindow(canvas);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_WholeWindow)->Arg(10)->Arg(15)->Arg(20)->Arg(30)->Unit(benchmark::kMicrosecond);

// A move to a screen of the ratio and back: a new image each way, everything drawn into it.
void BM_ScreenChange(benchmark::State& state)
{
    const Game game = fullBoard();
    Canvas canvas(game);
    drawWindow(canvas);
    for (auto _ : state) {
        canvas.setDevicePixelRatio(ratioOf(state));
        drawWindow(canvas);
        canvas.setDevicePixelRatio(1);
        drawWindow(canvas);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_ScreenChange)->Arg(20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quolvet

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
