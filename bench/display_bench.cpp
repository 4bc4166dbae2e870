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
    return game;
}

void BM_BoardRepaint(benchmark::State& state)
{
    const Game game = fullBoard();
    Canvas canvas(game);
    for (auto _ : state) {
        canvas.描画_盤();
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_BoardRepaint)->Unit(benchmark::kMicrosecond);

// What the window draws before it is first shown: background, labels, hands, board, counter,
// title plate.
void BM_StartUpDrawing(benchmark::State& state)
{
    const Game game = fullBoard();
    for (auto _ : state) {
        Canvas canvas(game);
        for (int x = -2; x <= 20; ++x) {
            for (int y = -2; y <= 15; ++y) canvas.描画_絵(PIC_BACKGROUND, x, y);
        }
        canvas.描画_桝_数値();
        for (int k = 1; k <= pieceKinds; ++k) {
            canvas.描画_敵持駒(k);
            canvas.描画_自持駒(k);
        }
        canvas.描画_盤();
        canvas.描画_手数(game.moveNumber);
        canvas.描画_絵(PIC_TITLE, 11.5, 0);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(BM_StartUpDrawing)->Unit(benchmark::kMicrosecond);

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
