#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "computer.h"
#include "playing.h"

using namespace quolvet;

namespace {

// A dealer with a clock on digit 7, the richest mix of kinds, and a fixed generator.
Dealer mixedDealer() {
    Dealer dealer;
    dealer.timeOfDay = [] { return 7.0f; };
    return dealer;
}

Game dealtGame() {
    Game game;
    MoveRecord record;
    Dealer dealer = mixedDealer();
    playing::startGame(game, record, dealer, MODE_HUMAN);
    return game;
}

// The position the computer's choices lead to from the deal: nothing can be picked up,
// so asking whether anything can scans every square.
Game finalPosition() {
    Game game = dealtGame();
    MoveRecord record;
    while (game.gameOver == OFF) playing::playMove(game, record, *chooseComputerSquare(game));
    return game;
}

std::vector<Square> candidates(const Game& game) {
    std::vector<Square> squares;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (game.board[x][y] != EMPTY && game.調査_消駒有無_座標(x, y) == ON)
                squares.push_back({x, y});
        }
    }
    return squares;
}

void BM_AnyPickUp_FullBoard(benchmark::State& state) {
    const Game game = dealtGame();
    for (auto _ : state) benchmark::DoNotOptimize(game.調査_消駒有無());
}
BENCHMARK(BM_AnyPickUp_FullBoard);

void BM_AnyPickUp_FinalPosition(benchmark::State& state) {
    const Game game = finalPosition();
    for (auto _ : state) benchmark::DoNotOptimize(game.調査_消駒有無());
}
BENCHMARK(BM_AnyPickUp_FinalPosition);

void BM_Signs_FullBoard(benchmark::State& state) {
    Game game = dealtGame();
    for (auto _ : state) {
        game.設定_将棋盤_駒();
        benchmark::DoNotOptimize(game.board);
    }
}
BENCHMARK(BM_Signs_FullBoard);

void BM_ComputerChoice_FullBoard(benchmark::State& state) {
    const Game game = dealtGame();
    for (auto _ : state) benchmark::DoNotOptimize(chooseComputerSquare(game));
}
BENCHMARK(BM_ComputerChoice_FullBoard)->Unit(benchmark::kMicrosecond);

// Deal, then random choices until the game is won, with the record kept as in play.
void BM_WholeRandomGame(benchmark::State& state) {
    Dealer dealer = mixedDealer();
    std::mt19937 chooser(1);
    Game game;
    MoveRecord record;
    int moves = 0;
    for (auto _ : state) {
        playing::startGame(game, record, dealer, MODE_HUMAN);
        while (game.gameOver == OFF) {
            const std::vector<Square> choices = candidates(game);
            playing::playMove(game, record, choices[chooser() % choices.size()]);
        }
        moves += game.moveNumber;
    }
    state.counters["moves/game"] = benchmark::Counter(moves, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WholeRandomGame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
