#include <vector>

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include "display_support.h"

namespace quolvet::testing {
namespace {

class Icons : public CanvasTest {
protected:
    Icons() { canvas.attach(&view); }

    // Which icons show after 描画_アイコン for `side`: "man", "com" or "".
    std::string turn(int side)
    {
        game.sideToMove = side;
        canvas.描画_アイコン();
        return std::string(canvas.iconMan()->isHidden() ? "" : "man") + (canvas.iconCom()->isHidden() ? "" : "com");
    }

    QWidget view;
};

TEST_F(Icons, BetweenTwoPeopleThePersonIconJumpsBetweenThePlaces)
{
    EXPECT_EQ(turn(SIDE_NONE), "man");  // a mode never set counts as two people
    game.ownSide = SIDE_SENTE;
    game.enemySide = SIDE_GOTE;
    EXPECT_EQ(turn(SIDE_SENTE), "man");
    EXPECT_EQ(canvas.iconMan()->pos(), QPoint(460, 373));
    EXPECT_EQ(turn(SIDE_GOTE), "man");
    EXPECT_EQ(canvas.iconMan()->pos(), QPoint(20, 7));
}

TEST_F(Icons, AgainstTheComputerOnlyOneIconIsEverShown)
{
    game.gameMode = MODE_COM;
    game.ownSide = SIDE_GOTE;
    game.enemySide = SIDE_SENTE;
    EXPECT_EQ(turn(SIDE_SENTE), "com");
    EXPECT_EQ(canvas.iconCom()->pos(), Canvas::upperIconPlace());
    EXPECT_EQ(turn(SIDE_GOTE), "man");
    EXPECT_EQ(canvas.iconMan()->pos(), Canvas::lowerIconPlace());
    EXPECT_EQ(turn(SIDE_SENTE), "com");
    canvas.消去_アイコン();
    EXPECT_TRUE(canvas.iconCom()->isHidden());
}

// Each frame reaches the screen before its pause.
TEST(PickUpAnimation, ShowsFourFramesThenEmptyWood)
{
    Game game;
    game.board[2][3] = game.board[2][4] = -KIN;
    game.removeMark[2][3] = ON;
    game.sideToMove = game.ownSide = SIDE_SENTE;
    Canvas canvas(game);
    canvas.描画_盤();

    std::vector<QImage> shown;
    std::vector<double> waits;
    std::vector<std::size_t> shownBeforeWait;
    canvas.setRefreshObserver([&] { shown.push_back(cellInside(canvas.image(), 2, 3)); });
    canvas.setWaiter([&](double seconds) {
        waits.push_back(seconds);
        shownBeforeWait.push_back(shown.size());
    });

    canvas.animatePickUp();
    game.takeMarkedPieces(game.sideToMove);
    canvas.drawMarkedSquaresEmpty();
    canvas.refresh();
    EXPECT_EQ(waits, (std::vector<double>{0.1, 0.1, 0.1, 0.1}));
    EXPECT_EQ(shownBeforeWait, (std::vector<std::size_t>{1, 2, 3, 4}));
    const std::vector<QImage> frames{insideOf("KOMA_CYU"), insideOf("KOMA_SYO"), insideOf("PA1"), insideOf("PA2"),
                                     insideOf("KARA_MASU")};
    EXPECT_TRUE(shown == frames);
    EXPECT_EQ(cellInside(canvas.image(), 2, 4), insideOf("SITA_KIN"));
    EXPECT_EQ(canvas.image().pixel(geometry::gridToPixel(2, 3)), green);
}

}  // namespace
}  // namespace quolvet::testing
