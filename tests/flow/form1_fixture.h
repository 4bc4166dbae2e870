#pragma once

#include <memory>
#include <optional>
#include <random>

#include <gtest/gtest.h>

#include "board_view.h"
#include "form1.h"
#include "recording_seams.h"

namespace quolvet::testing {

// A main window with recorded boxes and sounds, instant (but logged) waits and a fixed deal.
class Form1Test : public ::testing::Test {
protected:
    void load(float timeOfDay = 5.13f, unsigned dealSeed = 0) {
        Dealer dealer;
        dealer.timeOfDay = [timeOfDay] { return timeOfDay; };
        if (dealSeed != 0) {
            dealer.uniform = [engine = std::mt19937(dealSeed)]() mutable {
                return std::uniform_real_distribution<double>(0, 1)(engine);
            };
        }
        form = std::make_unique<Form1>(Form1Seams{
            .sound = sound,
            .messages = boxes,
            .waiter = [this](double s) { journal.events.push_back(s < 0.5 ? "wait 0.1" : "wait 0.7"); },
            .quit = [this] { ++quits; },
            .soundFolders = {soundFolder},
            .dealer = dealer});
        form->Form_Load();
    }

    const Game& game() const { return form->game(); }
    size_t mark() const { return journal.events.size(); }
    std::vector<std::string> since(size_t m) const { return journal.since(m); }

    void press(int column, int row) { form->Form_MouseDown(geometry::gridToPixel(column + 0.5, row + 0.5)); }
    void press(Square s) { press(s.x, s.y); }

    // A piece that picks something up, at random; none when the game is decided.
    std::optional<Square> randomMove(std::mt19937& rng) const {
        std::vector<Square> moves;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (game().board[x][y] != EMPTY && game().調査_消駒有無_座標(x, y) == ON) moves.push_back({x, y});
        if (moves.empty()) return std::nullopt;
        return moves[std::uniform_int_distribution<size_t>(0, moves.size() - 1)(rng)];
    }

    // Plays random moves by the person until the game is over.
    void playToEnd(std::mt19937& rng) {
        while (game().gameOver == OFF) press(*randomMove(rng));
    }

    Journal journal;
    RecordingSound sound{journal};
    RecordingBoxes boxes{journal};
    std::filesystem::path soundFolder = makeSoundFolder();
    int quits = 0;
    std::unique_ptr<Form1> form;
};

}  // namespace quolvet::testing
