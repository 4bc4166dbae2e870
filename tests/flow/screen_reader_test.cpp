// Whole games played with the keys alone and read only as a screen reader reads them: the
// board's accessible names, the focus it is told of and the news it hears, checked against the
// game after every move. The names are spelled out here afresh, as a player says them.

#include <cstdlib>
#include <numeric>
#include <set>

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include "board_view.h"
#include "playing.h"
#include "window_harness.h"

namespace quolvet::testing {
namespace {

struct Heard {
    std::vector<std::string> focus;
    std::vector<std::string> news;
    std::set<int> renamed;
} heard;
QAccessibleInterface* board = nullptr;

std::string nameOf(QAccessibleInterface* part) { return part->text(QAccessible::Name).toStdString(); }

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* part = event->accessibleInterface();
    if (!board) return;
    if (event->type() == QAccessible::Focus) heard.focus.push_back(nameOf(part));
    if (event->type() == QAccessible::ObjectShow && board->indexOfChild(part) == board_children::news)
        heard.news.push_back(nameOf(part));
    if (event->type() == QAccessible::NameChanged) heard.renamed.insert(board->indexOfChild(part));
}

const char* const kinds[] = {"歩", "香", "桂", "銀", "金", "角", "飛", "王"};

std::string squareName(Square s) {
    static const char* const columns[] = {"９", "８", "７", "６", "５", "４", "３", "２", "１"};
    static const char* const rows[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
    return std::string(columns[s.x - 1]) + rows[s.y - 1];
}

std::string player(const Game& game, int side) {
    if (game.gameMode == MODE_COM) return side == game.ownSide ? "あなた" : "ＣＯＭ";
    return side == SIDE_SENTE ? "先手" : "後手";
}

// Every child as it must read: the squares, both hands, the counter, the turn.
std::vector<std::string> expectedNames(const Game& game) {
    std::vector<std::string> names;
    for (int y = 1; y <= boardSize; ++y) {
        for (int x = 1; x <= boardSize; ++x) {
            const int code = game.board[x][y];
            const std::string kind = code == EMPTY ? "空き" : kinds[std::abs(code) - 1];
            names.push_back(squareName({x, y}) + " " + kind + (code < 0 ? " 拾える" : ""));
        }
    }
    for (const auto& [hand, side] : {std::pair{game.enemyHand, game.enemySide}, {game.ownHand, game.ownSide}}) {
        std::string line = player(game, side) + "の持ち駒";
        for (int k = 1; k <= pieceKinds; ++k)
            if (hand[k]) line += std::string(" ") + kinds[k - 1] + " " + std::to_string(hand[k]);
        names.push_back(line == player(game, side) + "の持ち駒" ? line + " なし" : line);
    }
    names.push_back(std::to_string(game.moveNumber) + "手目");
    names.push_back(game.gameOver == ON ? game.winnerName + "の勝ち" : player(game, game.sideToMove) + "の番");
    return names;
}

std::vector<std::string> readNames() {
    std::vector<std::string> names;
    for (int i = 0; i < board_children::news; ++i) names.push_back(nameOf(board->child(i)));
    return names;
}

int held(const Hand& hand) { return std::accumulate(hand.begin(), hand.end(), 0); }

// The sentence of one move, played on `game` as the window plays it.
std::string moveSentence(Game& game, MoveRecord& record, std::optional<Square> square) {
    const Game before = game;
    const int mover = game.sideToMove;
    square ? playing::playMove(game, record, *square) : (void)(square = playing::playComputerMove(game, record));
    const int picked = held(game.ownHand) + held(game.enemyHand) - held(before.ownHand) - held(before.enemyHand);
    const std::string told = player(game, mover) + " " + squareName(*square) + " " +
                             kinds[std::abs(before.board[square->x][square->y]) - 1] + " " + std::to_string(picked) + "枚拾いました ";
    return told + (game.調査_消駒有無() == OFF ? player(game, mover) + "の勝ち" : player(game, game.sideToMove) + "の番です");
}

// The keys from the cursor to a square: the rows first, then Home or End or single steps.
std::vector<std::string> keysTo(Square from, Square to) {
    std::vector<std::string> keys(size_t(std::abs(to.y - from.y)), to.y < from.y ? "key Up" : "key Down");
    if (to.x == from.x) return keys;
    if (to.x == 1 || to.x == boardSize) return keys.push_back(to.x == 1 ? "key Home" : "key End"), keys;
    keys.insert(keys.end(), size_t(std::abs(to.x - from.x)), to.x < from.x ? "key Left" : "key Right");
    return keys;
}

TEST(ScreenReader, WholeGamesByKeysReadRightAfterEveryMove) {
    ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); })) << "no accessibility bus";
    QAccessible::installUpdateHandler(listen);
    for (const auto& [menu, deal] : {std::pair{"対局/対局(人間)/スタート", 2u}, {"対局/対局(COM)/先手", 3u}, {"対局/対局(COM)/後手", 5u}}) {
        SCOPED_TRACE(menu);
        heard = {};
        board = nullptr;
        WindowHarness window(deal);
        window.form().activateWindow();  // no window manager gives it the keyboard
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window.form()));
        board = QAccessible::queryAccessibleInterface(window.form().view());
        ASSERT_EQ(board->tableInterface()->rowCount(), boardSize);
        window.step(std::string("menu ") + menu);
        EXPECT_TRUE(window.form().view()->hasFocus()) << "a new game puts the keyboard on the board";
        EXPECT_EQ(heard.news.size(), window.game().moveNumber) << "the computer's opening move is news";
        window.step("key Left");
        Square cursor{5, 5};
        std::vector<std::string> names = readNames();
        while (window.game().gameOver == OFF) {
            const auto active = std::find_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with("拾える"); });
            ASSERT_NE(active, names.end()) << "a running game has a piece to choose";
            const int index = int(active - names.begin());
            const Square target{index % boardSize + 1, index / boardSize + 1};
            const std::vector<std::string> keys = keysTo(cursor, target);
            for (const std::string& key : keys) window.step(key);
            cursor = target;
            ASSERT_EQ(nameOf(board->focusChild()), names[size_t(index)]);
            if (!keys.empty()) {
                ASSERT_EQ(heard.focus.size() ? heard.focus.back() : "", names[size_t(index)]) << "the focus follows the cursor";
            }

            Game expected = window.game();
            MoveRecord record = window.form().record();
            std::string told = moveSentence(expected, record, target);
            if (expected.gameMode == MODE_COM && expected.gameOver == OFF) told += "。" + moveSentence(expected, record, {});
            heard = {};
            window.step(window.game().moveNumber % 2 ? "key Space" : "key Return");
            EXPECT_EQ(heard.news, std::vector{told}) << "the moves of one press told at once, in their order";
            const std::vector<std::string> before = std::exchange(names, readNames());
            ASSERT_EQ(names, expectedNames(window.game())) << "move " << window.game().moveNumber;
            std::set<int> changed;
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] != before[i]) changed.insert(int(i));
            changed.insert(board_children::news);
            EXPECT_EQ(heard.renamed, changed) << "every name that changed is told, and only those";
        }
    }
    QAccessible::installUpdateHandler(nullptr);
}

}  // namespace
}  // namespace quolvet::testing
