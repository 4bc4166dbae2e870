#include <set>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "computer.h"
#include "form1_fixture.h"

namespace quolvet::testing {
namespace {

using Events = std::vector<std::string>;

const Events moveShown = {"play 駒打音.wav", "wait 0.1"};
const Events pickUpFrames = {"wait 0.1", "wait 0.1", "wait 0.1", "wait 0.1"};

Events concat(std::initializer_list<Events> parts) {
    Events all;
    for (const Events& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(Form1Test, StartsWithMusicAndNoGameRefusesPresses) {
    load();
    EXPECT_EQ(journal.events, Events{"loop BGM.wav"});
    EXPECT_TRUE(form->bgmAction()->isChecked());
    EXPECT_EQ(game().sideToMove, SIDE_NONE);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_NE(game().board[x][y], EMPTY);

    size_t m = mark();
    press(5, 5);
    form->Form_MouseDown(QPoint(2, 2));  // far outside the board
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [開始] 「対局」で始めて下さい", "play 禁止.wav",
                                "box [開始] 「対局」で始めて下さい"}));
}

TEST_F(Form1Test, MissingDeviceWarnsOnceAndTheGameStillPlays) {
    sound.deviceWorks = false;
    load();
    EXPECT_EQ(journal.events, (Events{"warning [Quolvet.dll] Direct Soundインターフェースが作成できません。", "loop 0"}));
    form->START_Click();
    std::mt19937 rng(1);
    playToEnd(rng);
    EXPECT_EQ(game().gameOver, ON);
}

TEST_F(Form1Test, TwoPersonGamesAnnounceTheLastMoverAndThenRefuse) {
    std::set<std::string> winners;
    for (unsigned seed = 1; seed <= 12 && winners.size() < 2; ++seed) {
        load(5.13f, seed);
        size_t m = mark();
        form->START_Click();
        EXPECT_EQ(since(m), Events{"box [ ] 先手の番です"});
        EXPECT_EQ(game().sideToMove, SIDE_SENTE);

        std::mt19937 rng(seed);
        std::optional<Square> move = randomMove(rng);
        m = mark();
        press(*move);
        if (game().gameOver == OFF) {
            EXPECT_EQ(since(m), concat({moveShown, pickUpFrames}));
            EXPECT_EQ(game().sideToMove, SIDE_GOTE);
            EXPECT_EQ(game().moveNumber, 1);
        }
        while (game().gameOver == OFF) {
            m = mark();
            press(*randomMove(rng));
        }
        const std::string winner = game().moveNumber % 2 == 1 ? "先手" : "後手";
        EXPECT_EQ(game().winnerName, winner);
        const Events tail = {"box [終了] 消せる駒が無くなりました", "box [終了] " + winner + "の勝ちです"};
        EXPECT_EQ(Events(journal.events.end() - 2, journal.events.end()), tail);
        winners.insert(winner);

        m = mark();
        press(5, 5);
        EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [終了] " + winner + "の勝ちです",
                                    "box [開始] 「対局」で始めて下さい"}));
    }
    EXPECT_EQ(winners, (std::set<std::string>{"先手", "後手"}));
}

TEST_F(Form1Test, RefusedChoicesCostNoTurn) {
    load(5.0f);  // digit 5: a mix of 飛 and 歩, with idle pieces on the top row
    form->START_Click();
    std::optional<Square> idle;
    for (int x = 1; x <= 9 && !idle; ++x)
        if (game().board[x][1] > 0) idle = Square{x, 1};
    ASSERT_TRUE(idle);

    size_t m = mark();
    press(*idle);
    EXPECT_EQ(since(m), concat({moveShown, {"play 禁止.wav", "box [注意] 拾える駒がありません"}}));
    EXPECT_EQ(game().moveNumber, 0);
    EXPECT_EQ(game().sideToMove, SIDE_SENTE);

    std::mt19937 rng(3);
    press(*randomMove(rng));
    const Square emptied = [&] {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (game().board[x][y] == EMPTY) return Square{x, y};
        return Square{};
    }();
    m = mark();
    press(emptied);
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [注意] 駒をクリックして下さい"}));

    // Presses beside the board, on the hands and in the margins are ignored during a game.
    m = mark();
    for (Square off : {Square{0, 5}, Square{10, 5}, Square{5, 0}, Square{5, 10}, Square{-1, 3}, Square{11, 4}})
        press(off);
    EXPECT_TRUE(since(m).empty());
    EXPECT_EQ(game().moveNumber, 1);
}

TEST_F(Form1Test, ComputerAnswersWithinThePressWithItsGreedyChoice) {
    load(5.13f, 7);
    size_t m = mark();
    form->SENTE_Click();
    EXPECT_EQ(since(m), Events{"box [ ] あなたの番です"});
    EXPECT_TRUE(form->canvas().iconMan()->isHidden());  // no turn icon until the person has moved
    EXPECT_TRUE(form->canvas().iconCom()->isHidden());

    std::mt19937 rng(7);
    m = mark();
    press(*randomMove(rng));
    ASSERT_EQ(game().gameOver, OFF);
    EXPECT_EQ(game().moveNumber, 2);
    EXPECT_EQ(game().sideToMove, game().ownSide);
    EXPECT_EQ(since(m), concat({moveShown, pickUpFrames, {"play 駒打音.wav", "wait 0.7"}, pickUpFrames}));

    Game before;
    before.board = form->record().historyBoard[1];
    const std::optional<Square> choice = chooseComputerSquare(before);
    ASSERT_TRUE(choice);
    before.設定_消去駒(choice->x, choice->y);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            EXPECT_EQ(game().board[x][y] == EMPTY, before.board[x][y] == EMPTY || before.removeMark[x][y] == ON);
}

TEST_F(Form1Test, ComputerOpensWhenThePersonMovesSecond) {
    load();
    size_t m = mark();
    form->GOTE_Click();
    EXPECT_EQ(since(m), concat({{"play 駒打音.wav", "wait 0.7"}, pickUpFrames}));
    EXPECT_EQ(game().moveNumber, 1);
    EXPECT_EQ(game().sideToMove, SIDE_GOTE);
    EXPECT_EQ(game().ownSide, SIDE_GOTE);
    EXPECT_FALSE(form->canvas().iconMan()->isHidden());
    EXPECT_TRUE(form->canvas().iconCom()->isHidden());
}

TEST_F(Form1Test, GamesAgainstTheComputerNameEitherWinner) {
    std::set<std::string> winners;
    for (unsigned seed = 1; seed <= 20 && winners.size() < 2; ++seed) {
        load(5.13f, seed);
        form->SENTE_Click();
        std::mt19937 rng(seed);
        playToEnd(rng);
        const std::string winner = game().winnerName;
        EXPECT_EQ(winner, game().moveNumber % 2 == 1 ? "あなた" : "ＣＯＭ");
        EXPECT_EQ(Events(journal.events.end() - 2, journal.events.end()),
                  (Events{"box [終了] 消せる駒が無くなりました", "box [終了] " + winner + "の勝ちです"}));
        winners.insert(winner);
    }
    EXPECT_EQ(winners, (std::set<std::string>{"あなた", "ＣＯＭ"}));
}

TEST_F(Form1Test, SteppingThroughTheRecord) {
    load(5.13f, 11);
    size_t m = mark();
    form->REPLAY_Click();
    form->AFTER_Click();
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [戻る] できません", "play 禁止.wav", "box [進む] できません"}));

    form->START_Click();
    std::mt19937 rng(11);
    for (int i = 0; i < 3; ++i) press(*randomMove(rng));
    ASSERT_EQ(game().moveNumber, 3);
    const Grid third = game().board;

    for (int i = 0; i < 3; ++i) form->REPLAY_Click();
    EXPECT_EQ(game().board, form->record().historyBoard[0]);
    EXPECT_EQ(game().ownHand, Hand{});
    EXPECT_EQ(game().enemyHand, Hand{});
    EXPECT_EQ(game().sideToMove, SIDE_SENTE);
    m = mark();
    form->REPLAY_Click();
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [戻る] できません"}));

    for (int i = 0; i < 3; ++i) form->AFTER_Click();
    EXPECT_EQ(game().board, third);
    m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [進む] できません"}));

    // Two back and a new move cut the line there.
    form->REPLAY_Click();
    form->REPLAY_Click();
    EXPECT_EQ(game().sideToMove, SIDE_GOTE);
    press(*randomMove(rng));
    EXPECT_EQ(game().moveNumber, 2);
    EXPECT_EQ(form->record().lastMoveNumber, 2);
    m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [進む] できません"}));
}

TEST_F(Form1Test, SteppingForwardToTheEndClosesTheGameSilently) {
    load(5.13f, 5);
    form->START_Click();
    std::mt19937 rng(5);
    playToEnd(rng);
    const std::string winner = game().winnerName;

    form->REPLAY_Click();
    EXPECT_EQ(game().gameOver, OFF);
    size_t m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), Events{"play 駒打音.wav"});
    EXPECT_EQ(game().gameOver, ON);

    m = mark();
    press(5, 5);
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [終了] " + winner + "の勝ちです",
                                "box [開始] 「対局」で始めて下さい"}));
}

TEST_F(Form1Test, SteppingBackLeavesTheTurnWithTheComputerWhichRepeatsItsReply) {
    load(5.13f, 9);
    form->SENTE_Click();
    std::mt19937 rng(9);
    press(*randomMove(rng));
    ASSERT_EQ(game().moveNumber, 2);
    const Grid reply = game().board;

    form->REPLAY_Click();
    EXPECT_EQ(game().sideToMove, game().enemySide);
    EXPECT_TRUE(form->canvas().iconMan()->isHidden());
    EXPECT_FALSE(form->canvas().iconCom()->isHidden());
    form->Form_MouseDown(QPoint(1, 1));  // anywhere lets the computer play
    EXPECT_EQ(game().board, reply);
    EXPECT_EQ(game().sideToMove, game().ownSide);

    form->REPLAY_Click();
    form->REPLAY_Click();
    EXPECT_EQ(game().sideToMove, game().ownSide);
}

TEST_F(Form1Test, NewBoardNeedsANewStart) {
    load(5.13f, 4);
    form->START_Click();
    std::mt19937 rng(4);
    press(*randomMove(rng));
    const Grid old = game().board;

    size_t m = mark();
    form->CANCEL_Click();
    EXPECT_EQ(since(m), Events{"play 駒打音.wav"});
    EXPECT_NE(game().board, old);
    EXPECT_EQ(game().moveNumber, 0);
    EXPECT_EQ(form->record().lastMoveNumber, 0);
    EXPECT_EQ(game().gameMode, MODE_HUMAN);
    EXPECT_TRUE(form->canvas().iconMan()->isHidden());

    m = mark();
    press(5, 5);
    EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [開始] 「対局」で始めて下さい"}));
}

TEST_F(Form1Test, MenuBarReadsAsDesigned) {
    load();
    QStringList bar;
    for (QAction* a : form->menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar, (QStringList{"対局", "局面", "戻", "進", "ｵﾌﾟｼｮﾝ", "その他"}));

    QStringList all;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
        for (QAction* a : actions) {
            all << a->text();
            EXPECT_TRUE(a->shortcut().isEmpty());
            if (a->menu()) walk(a->menu()->actions());
        }
    };
    walk(form->menuBar()->actions());
    EXPECT_EQ(all, (QStringList{"対局", "対局(人間)", "スタート", "対局(COM)", "先手", "後手", "終わり", "局面",
                                "最初", "戻", "進", "ｵﾌﾟｼｮﾝ", "BGM", "その他"}));
    for (const QString& caption : all) EXPECT_FALSE(caption.contains('&'));
}

TEST_F(Form1Test, MusicSwitchKeepsItsMarkAsTheOnlyRecord) {
    load();
    size_t m = mark();
    form->Form_KeyDown(112);
    EXPECT_FALSE(form->bgmAction()->isChecked());
    form->bgmAction()->trigger();
    EXPECT_TRUE(form->bgmAction()->isChecked());
    form->bgmAction()->trigger();
    form->START_Click();  // a new game leaves the music off
    form->Form_KeyDown(65);
    EXPECT_EQ(since(m), (Events{"stop BGM.wav", "loop BGM.wav", "stop BGM.wav", "box [ ] 先手の番です"}));
    EXPECT_FALSE(form->bgmAction()->isChecked());
}

TEST_F(Form1Test, VersionBoxHasEightLines) {
    load();
    form->START_Click();
    const Game before = game();
    size_t m = mark();
    form->VER_Click();
    const Events shown = since(m);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "play その他.wav");
    const QStringList lines = QString::fromStdString(shown[1]).split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "box [Quolvet] Quolvet  Version 0.93    [12/1999]");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "                    QX-SOFT");
    EXPECT_EQ(lines[3], "Home page");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "e-mail");
    EXPECT_EQ(game().board, before.board);
    EXPECT_EQ(game().sideToMove, before.sideToMove);
}

TEST_F(Form1Test, EveryWayOutFreesTheSoundsOnce) {
    load();
    size_t m = mark();
    form->Form_KeyDown(27);
    form->close();
    form->OWARI_Click();
    EXPECT_EQ(since(m), (Events{"free その他.wav", "free 禁止.wav", "free 駒打音.wav", "free BGM.wav", "terminate"}));
    EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace quolvet::testing
