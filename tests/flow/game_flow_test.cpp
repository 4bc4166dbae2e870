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

const Events moveShown = {"play 駒打音.wav", "wait 0.1", "wait 0.1", "wait 0.1", "wait 0.1", "wait 0.1"};
const Events computerMove = {"play 駒打音.wav", "wait 0.7", "wait 0.1", "wait 0.1", "wait 0.1", "wait 0.1"};
const Events pleaseStart = {"play 禁止.wav", "box [開始] 「対局」で始めて下さい"};

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Form1Test, StartsWithMusicAndNoGameRefusesPresses) {
    load();
    EXPECT_EQ(journal.events, Events{"loop BGM.wav"});
    EXPECT_TRUE(form->bgmAction()->isChecked());
    size_t m = mark();
    press(5, 5);
    form->Form_MouseDown(QPoint(2, 2));  // far outside the board
    EXPECT_EQ(since(m), pleaseStart + pleaseStart);
}

// Two people, then a person against the computer: the last mover is named, and afterwards
// every press repeats the result.
TEST_F(Form1Test, GamesAnnounceTheLastMoverAndThenRefuse) {
    struct Kind {
        void (Form1::*start)();
        Events greeting;
        std::string odd, even;  // the winner when the last move has an odd or even number
    };
    for (const Kind& kind : {Kind{&Form1::START_Click, {"box [ ] 先手の番です"}, "先手", "後手"},
                             Kind{&Form1::SENTE_Click, {"box [ ] あなたの番です"}, "あなた", "ＣＯＭ"}}) {
        std::set<std::string> winners;
        for (unsigned seed = 1; seed <= 20 && winners.size() < 2; ++seed) {
            load(5.13f, seed);
            size_t m = mark();
            (form.get()->*kind.start)();
            EXPECT_EQ(since(m), kind.greeting);
            std::mt19937 rng(seed);
            playToEnd(rng);
            const std::string winner = game().moveNumber % 2 == 1 ? kind.odd : kind.even;
            EXPECT_EQ(game().winnerName, winner);
            EXPECT_EQ(Events(journal.events.end() - 2, journal.events.end()),
                      (Events{"box [終了] 消せる駒が無くなりました", "box [終了] " + winner + "の勝ちです"}));
            winners.insert(winner);
            m = mark();
            press(5, 5);
            EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [終了] " + winner + "の勝ちです",
                                        "box [開始] 「対局」で始めて下さい"}));
        }
        EXPECT_EQ(winners, (std::set<std::string>{kind.odd, kind.even}));
    }
}

TEST_F(Form1Test, RefusedChoicesCostNoTurnAndPressesBesideTheBoardAreIgnored) {
    load(5.0f);  // digit 5: 飛 and 歩, so some 歩 on the top row reach nothing
    form->START_Click();
    std::optional<Square> idle;
    for (int x = 1; x <= 9 && !idle; ++x)
        if (game().board[x][1] > 0) idle = Square{x, 1};
    ASSERT_TRUE(idle);
    size_t m = mark();
    press(*idle);
    EXPECT_EQ(since(m), (Events{"play 駒打音.wav", "wait 0.1", "play 禁止.wav", "box [注意] 拾える駒がありません"}));
    EXPECT_EQ(game().moveNumber, 0);
    EXPECT_EQ(game().sideToMove, SIDE_SENTE);

    std::mt19937 rng(3);
    const Square chosen = *randomMove(rng);
    m = mark();
    press(chosen);
    EXPECT_EQ(since(m), moveShown);
    EXPECT_EQ(game().sideToMove, SIDE_GOTE);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (game().board[x][y] == EMPTY) {
                m = mark();
                press(x, y);
                EXPECT_EQ(since(m), (Events{"play 禁止.wav", "box [注意] 駒をクリックして下さい"}));
            }
    m = mark();
    for (Square off : {Square{0, 5}, Square{10, 5}, Square{5, 0}, Square{5, 10}, Square{-1, 3}, Square{11, 4}})
        press(off);
    EXPECT_TRUE(since(m).empty());
    EXPECT_EQ(game().moveNumber, 1);
}

TEST_F(Form1Test, ComputerAnswersWithinThePressWithItsGreedyChoice) {
    load(5.13f, 7);
    form->SENTE_Click();
    EXPECT_TRUE(form->canvas().iconMan()->isHidden());  // no turn icon until the person has moved
    EXPECT_TRUE(form->canvas().iconCom()->isHidden());
    std::mt19937 rng(7);
    size_t m = mark();
    press(*randomMove(rng));
    ASSERT_EQ(game().gameOver, OFF);
    EXPECT_EQ(since(m), moveShown + computerMove);
    EXPECT_EQ(game().moveNumber, 2);
    EXPECT_EQ(game().sideToMove, game().ownSide);

    Game before;
    before.board = form->record().historyBoard[1];
    const Square choice = *chooseComputerSquare(before);
    before.設定_消去駒(choice.x, choice.y);
    before.takeMarkedPieces(SIDE_NONE);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(game().board[x][y] == EMPTY, before.board[x][y] == EMPTY);

    m = mark();
    form->GOTE_Click();  // the computer opens at once, without a message
    EXPECT_EQ(since(m), computerMove);
    EXPECT_EQ(game().moveNumber, 1);
    EXPECT_EQ(game().ownSide, SIDE_GOTE);
    EXPECT_FALSE(form->canvas().iconMan()->isHidden());
    EXPECT_TRUE(form->canvas().iconCom()->isHidden());
}

TEST_F(Form1Test, SteppingThroughTheRecordAndCuttingTheLine) {
    load(5.13f, 11);
    size_t m = mark();
    form->REPLAY_Click();
    form->AFTER_Click();
    const Events cannotBack = {"play 禁止.wav", "box [戻る] できません"};
    const Events cannotForward = {"play 禁止.wav", "box [進む] できません"};
    EXPECT_EQ(since(m), cannotBack + cannotForward);

    form->START_Click();
    std::mt19937 rng(11);
    for (int i = 0; i < 3; ++i) press(*randomMove(rng));
    const Grid third = game().board;
    for (int i = 0; i < 3; ++i) form->REPLAY_Click();
    EXPECT_EQ(game().board, form->record().historyBoard[0]);
    EXPECT_EQ(game().ownHand, Hand{});
    EXPECT_EQ(game().sideToMove, SIDE_SENTE);
    m = mark();
    form->REPLAY_Click();
    EXPECT_EQ(since(m), cannotBack);
    for (int i = 0; i < 3; ++i) form->AFTER_Click();
    EXPECT_EQ(game().board, third);
    m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), cannotForward);

    form->REPLAY_Click();
    form->REPLAY_Click();
    EXPECT_EQ(game().sideToMove, SIDE_GOTE);
    press(*randomMove(rng));
    EXPECT_EQ(form->record().lastMoveNumber, 2);
    m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), cannotForward);
}

TEST_F(Form1Test, SteppingForwardToTheEndClosesTheGameSilently) {
    load(5.13f, 5);
    form->START_Click();
    std::mt19937 rng(5);
    playToEnd(rng);
    form->REPLAY_Click();
    EXPECT_EQ(game().gameOver, OFF);
    size_t m = mark();
    form->AFTER_Click();
    EXPECT_EQ(since(m), Events{"play 駒打音.wav"});
    EXPECT_EQ(game().gameOver, ON);
}

TEST_F(Form1Test, SteppingBackLeavesTheTurnWithTheComputerWhichRepeatsItsReply) {
    load(5.13f, 9);
    form->SENTE_Click();
    std::mt19937 rng(9);
    press(*randomMove(rng));
    const Grid reply = game().board;
    form->REPLAY_Click();
    EXPECT_EQ(game().sideToMove, game().enemySide);
    EXPECT_FALSE(form->canvas().iconCom()->isHidden());
    form->Form_MouseDown(QPoint(1, 1));  // a press anywhere lets the computer play
    EXPECT_EQ(game().board, reply);
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
    EXPECT_EQ(form->record().lastMoveNumber, 0);
    EXPECT_TRUE(form->canvas().iconMan()->isHidden());
    m = mark();
    press(5, 5);
    EXPECT_EQ(since(m), pleaseStart);
}

TEST_F(Form1Test, MenusKeysAndTheVersionBox) {
    load();
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

    // The check mark is the music's only record, whichever way it is switched.
    size_t m = mark();
    form->Form_KeyDown(112);
    form->bgmAction()->trigger();
    form->bgmAction()->trigger();
    form->START_Click();
    form->Form_KeyDown(65);
    EXPECT_FALSE(form->bgmAction()->isChecked());

    form->VER_Click();
    const Events shown = since(m);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(Events(shown.begin(), shown.begin() + 5),
              (Events{"stop BGM.wav", "loop BGM.wav", "stop BGM.wav", "box [ ] 先手の番です", "play その他.wav"}));
    const QStringList lines = QString::fromStdString(shown[5]).split('\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "box [Quolvet] Quolvet  Version 0.93    [12/1999]");
    EXPECT_EQ(lines[2], "                    QX-SOFT");
    EXPECT_EQ((QStringList{lines[1], lines[3], lines[5], lines[6]}), (QStringList{"", "Home page", "", "e-mail"}));
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
