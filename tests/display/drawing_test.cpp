#include <gtest/gtest.h>

#include "canvas.h"
#include "window_oracle.h"

namespace quolvet {
namespace {

// Draws a state the way a new window does, procedure by procedure.
QImage drawnWindow(const Game& game) {
    Canvas canvas(game);
    for (int x = -2; x <= 20; ++x)
        for (int y = -2; y <= 15; ++y) canvas.描画_絵(PIC_BACKGROUND, x, y);
    canvas.描画_桝_数値();
    for (int k = 1; k <= pieceKinds; ++k) {
        canvas.描画_敵持駒(k);
        canvas.描画_自持駒(k);
    }
    canvas.描画_盤();
    canvas.描画_手数(game.moveNumber);
    canvas.描画_絵(PIC_TITLE, 11.5, 0);
    // Codes without a picture paint nothing, rather than something read past the pictures.
    for (const int code : {9, 16, -9, 99}) canvas.描画_絵(code, 5, 5);
    return canvas.image();
}

// Every board code, hand counts of one and two digits and the counter at its widths, each where
// the layout puts it, in its colours and with its shadow.
TEST(Drawing, EveryPartOfAStateIsWhereAndAsItMustBe) {
    for (const int moves : {0, 7, 10, 80, 100}) {
        Game game;
        for (int code = -8; code <= 8; ++code) game.board[(code + 8) / 9 + 1][(code + 8) % 9 + 1] = code;
        for (int k = 1; k <= pieceKinds; ++k) {
            game.enemyHand[k] = (k * moves) % 13;
            game.ownHand[k] = (k + moves) % 3 == 0 ? 0 : k + moves % 11;
        }
        game.moveNumber = moves;
        EXPECT_EQ(oracle::differences(drawnWindow(game), oracle::expectedWindow(game)), std::vector<std::string>{})
            << moves << " moves";
    }
}

}  // namespace
}  // namespace quolvet
