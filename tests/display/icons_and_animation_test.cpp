#include <vector>

#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include "display_support.h"

namespace quolvet::testing {
namespace {

using Icons = CanvasTest;
using PickUpAnimation = CanvasTest;

TEST_F(Icons, ThePersonIconJumpsBetweenPeopleAndOnlyOneEverShowsAgainstTheComputer)
{
    QWidget view;
    canvas.attach(&view);
    const auto turn = [&](int side) {  // which icons show, and where
        game.sideToMove = side;
        canvas.描画_アイコン();
        QString shown;
        for (const QLabel* icon : {canvas.iconMan(), canvas.iconCom()})
            if (!icon->isHidden()) shown += QString("%1@%2,%3 ").arg(icon == canvas.iconMan() ? "man" : "com").arg(icon->x()).arg(icon->y());
        return shown.toStdString();
    };
    EXPECT_EQ(turn(SIDE_NONE).substr(0, 4), "man@");  // a mode never set counts as two people
    game.ownSide = SIDE_SENTE;
    game.enemySide = SIDE_GOTE;
    EXPECT_EQ(turn(SIDE_SENTE), "man@460,373 ");
    EXPECT_EQ(turn(SIDE_GOTE), "man@20,7 ");

    game.gameMode = MODE_COM;
    game.ownSide = SIDE_GOTE;
    game.enemySide = SIDE_SENTE;
    EXPECT_EQ(turn(SIDE_SENTE), "com@20,7 ");
    EXPECT_EQ(turn(SIDE_GOTE), "man@460,373 ");
    EXPECT_EQ(turn(SIDE_SENTE), "com@20,7 ");
    canvas.消去_アイコン();
    EXPECT_TRUE(canvas.iconMan()->isHidden() && canvas.iconCom()->isHidden());
}

// Each frame reaches the screen before its pause, which is what is left of its 0.1 s.
TEST_F(PickUpAnimation, ShowsFourFramesThenEmptyWood)
{
    game.board[2][3] = game.board[2][4] = -KIN;
    game.removeMark[2][3] = ON;
    game.sideToMove = game.ownSide = SIDE_SENTE;
    canvas.描画_盤();
    std::vector<QImage> shown;
    std::size_t waits = 0;
    canvas.setRefreshObserver([&] { shown.push_back(cellInside(canvas.image(), 2, 3)); });
    canvas.setWaiter([&](double seconds) {
        EXPECT_TRUE(seconds >= 0 && seconds <= 0.1) << seconds;
        EXPECT_EQ(shown.size(), ++waits) << "the frame reaches the screen before its pause";
    });

    canvas.animatePickUp();
    game.takeMarkedPieces(game.sideToMove);
    canvas.drawMarkedSquaresEmpty();
    canvas.refresh();
    EXPECT_EQ(waits, 4u);
    EXPECT_TRUE(shown == (std::vector{insideOf("KOMA_CYU"), insideOf("KOMA_SYO"), insideOf("PA1"), insideOf("PA2"),
                                      insideOf("KARA_MASU")}));
    EXPECT_EQ(cellInside(canvas.image(), 2, 4), insideOf("SITA_KIN"));
    EXPECT_EQ(canvas.image().pixel(geometry::gridToPixel(2, 3)), green);
}

}  // namespace
}  // namespace quolvet::testing
