#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace quolvet {

// Seconds since local midnight, as the single-precision number the deal reads its digit from.
float localTimeOfDay();

// The deal's uniform generator: fixed seed, never reseeded, so its sequence starts over at
// every program start and runs on from game to game.
class UniformGenerator {
public:
    double operator()() { return static_cast<double>(engine_()) / 4294967296.0; }

private:
    std::mt19937 engine_;
};

// Where a deal takes its randomness from; tests replace either source.
struct Dealer {
    std::function<float()> timeOfDay = localTimeOfDay;
    std::function<double()> uniform = UniformGenerator{};  // 0 <= r < 1
};

// The last character of t written with at most seven significant digits and no trailing zeros.
int timeDigit(float t);

// The active code a digit 0..9 selects: 0 歩, 1 香, 2 桂, 3 銀, 4 金, 5 飛, 6 王, 7-9 角.
int activeCodeForDigit(int digit);

}  // namespace quolvet
