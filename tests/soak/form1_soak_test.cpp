// Whole games through the main window, with everything a restless player can do thrown in
// between the moves; after every event the state must be a lawful one and the screen's board
// must show exactly the board in memory.

#include <cstdlib>
#include <sstream>

#include <QAction>

#include "cell_pictures.h"
#include "form1_fixture.h"
#include "geometry.h"
#include "pictures.h"

using namespace quolvet;
using quolvet::testing::CellPictures;

namespace {

constexpr int gameCount = 300;
constexpr int eventLimit = 200000;
constexpr int longestGame = 80;
constexpr int keyF1 = 112;

Hand kindsOn(const Grid& board) {
    Hand count{};
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (board[x][y] != EMPTY) ++count[std::abs(board[x][y])];
    return count;
}

// Each recorded position keeps the pieces of the one before it, or fewer, with their kinds.
std::string brokenRecord(const MoveRecord& record) {
    for (int n = 1; n <= record.lastMoveNumber; ++n) {
        const Grid& before = record.historyBoard[n - 1];
        const Grid& after = record.historyBoard[n];
        for (int x = 1; x <= boardSize; ++x)
            for (int y = 1; y <= boardSize; ++y)
                if (after[x][y] != EMPTY && std::abs(after[x][y]) != std::abs(before[x][y]))
                    return "position " + std::to_string(n) + " gained or changed a piece";
    }
    return {};
}

std::string brokenState(const Game& game, const MoveRecord& record) {
    const int n = game.moveNumber;
    if (n < 0 || n > record.lastMoveNumber || record.lastMoveNumber > longestGame)
        return "move number " + std::to_string(n) + " of " + std::to_string(record.lastMoveNumber);
    if (game.board != record.historyBoard[n] || game.ownHand != record.historyOwnHand[n] ||
        game.enemyHand != record.historyEnemyHand[n])
        return "the position differs from its record entry";
    Hand all = kindsOn(game.board);
    for (int k = 1; k <= pieceKinds; ++k) all[k] += game.ownHand[k] + game.enemyHand[k];
    if (all != kindsOn(record.historyBoard[0])) return "pieces appeared or vanished";
    if (const std::string broken = brokenRecord(record); !broken.empty()) return broken;
    Game resigned = game;
    resigned.設定_将棋盤_駒();
    if (resigned.board != game.board) return "a sign differs from what the position gives";
    const bool nothingLeft = game.調査_消駒有無() == OFF;
    if (game.gameOver == ON && !nothingLeft) return "game over with pieces still to pick up";
    if (game.sideToMove == SIDE_NONE) {
        if (game.gameOver == ON || n != 0 || record.lastMoveNumber != 0) return "no game, yet moves or an end";
        return {};
    }
    if (nothingLeft && game.gameOver == OFF) return "a running game with nothing to pick up";
    if (game.gameOver == OFF && game.sideToMove != 手番_取得(n + 1)) return "the wrong side to move";
    return {};
}

std::string screenMismatch(const Game& game, const QImage& screen, const CellPictures& pictures) {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (pictures.shows(screen, geometry::gridToPixel(x, y), game.board[x][y])) continue;
            std::ostringstream out;
            out << "square " << x << "," << y << " does not show code " << game.board[x][y];
            return out.str();
        }
    }
    return {};
}

class Form1Soak : public quolvet::testing::Form1Test {
protected:
    // One thing a player may do, chosen at random; returns its name for the failure message.
    std::string randomEvent(std::mt19937& rng) {
        const int roll = std::uniform_int_distribution<int>(0, 99)(rng);
        const auto any = [&rng](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
        if (roll < 45) {
            if (const auto square = randomMove(rng)) {
                press(*square);
                return "press on a piece that picks up";
            }
            press(any(1, 9), any(1, 9));
            return "press on a square";
        }
        if (roll < 60) {
            press(any(1, 9), any(1, 9));
            return "press on any square";
        }
        if (roll < 70) {
            form->Form_MouseDown(QPoint(any(-2000, 2000), any(-2000, 2000)));
            return "press anywhere";
        }
        if (roll < 76) {
            form->Form_MouseDown(QPoint(any(0, 560), any(0, 540)));
            return "press in the window";
        }
        if (roll < 83) {
            form->REPLAY_Click();
            return "戻";
        }
        if (roll < 89) {
            form->AFTER_Click();
            return "進";
        }
        if (roll < 90) {
            form->CANCEL_Click();
            return "最初";
        }
        if (roll < 93) {
            form->START_Click();
            return "スタート";
        }
        if (roll < 95) {
            form->SENTE_Click();
            return "先手";
        }
        if (roll < 97) {
            form->GOTE_Click();
            return "後手";
        }
        if (roll < 98) {
            form->Form_KeyDown(keyF1);
            return "F1";
        }
        if (roll < 99) {
            form->bgmAction()->trigger();
            return "BGM";
        }
        form->Form_KeyDown(any(28, 111));
        return "another key";
    }
};

}  // namespace

TEST_F(Form1Soak, RandomEventsKeepStateAndScreenLawful) {
    load(5.13f, 424242);
    const CellPictures pictures;
    std::mt19937 rng(1206);
    int gamesEnded = 0;
    int events = 0;
    bool musicOn = form->bgmAction()->isChecked();
    ASSERT_EQ(screenMismatch(game(), form->canvas().image(), pictures), "") << "at start";

    while (gamesEnded < gameCount) {
        ASSERT_LT(events, eventLimit) << "only " << gamesEnded << " games ended";
        const bool wasOver = game().gameOver == ON;
        const std::string event = randomEvent(rng);
        ++events;
        const std::string context = "event " + std::to_string(events) + " (" + event + ")";
        ASSERT_EQ(brokenState(game(), form->record()), "") << context;
        ASSERT_EQ(screenMismatch(game(), form->canvas().image(), pictures), "") << context;
        if (event == "F1" || event == "BGM") {
            musicOn = !musicOn;
            ASSERT_EQ(form->bgmAction()->isChecked(), musicOn) << context;
        }
        if (!wasOver && game().gameOver == ON && event != "進") ++gamesEnded;
    }
    EXPECT_EQ(quits, 0);
}

TEST(CellPicturesTest, EveryBoardPictureIsToldApart) {
    const CellPictures pictures;
    for (int code = -8; code <= 8; ++code) {
        const QImage picture = loadPicture(code);
        ASSERT_FALSE(picture.isNull()) << code;
        EXPECT_EQ(pictures.codeAt(picture, {0, 0}), code);
    }
}
