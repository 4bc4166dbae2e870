#include "board_words.h"

#include <cstdlib>

namespace quolvet::words {
namespace {

const QString kindNames = QStringLiteral("歩香桂銀金角飛王");
const QString columnDigits = QStringLiteral("１２３４５６７８９");
const QString rowNumerals = QStringLiteral("一二三四五六七八九");

QString kindName(int code) { return kindNames.mid(std::abs(code) - 1, 1); }

QString player(const Game& game, int side) { return QString::fromStdString(game.moverName(side)); }

// Before the first game nobody sits at either hand: the lower one is the first mover's.
QString handOwner(const Game& game, bool upper) {
    if (game.ownSide == SIDE_NONE) return upper ? QStringLiteral("後手") : QStringLiteral("先手");
    return player(game, upper ? game.enemySide : game.ownSide);
}

}  // namespace

// Columns are counted from the right, as on the board's labels.
QString square(Square at) { return columnDigits.mid(boardSize - at.x, 1) + rowNumerals.mid(at.y - 1, 1); }

QString squareContents(const Game& game, Square at) {
    const int code = game.board[at.x][at.y];
    if (code == EMPTY) return square(at) + QStringLiteral(" 空き");
    const QString named = square(at) + u' ' + kindName(code);
    return game.調査_消駒有無_座標(at.x, at.y) == ON ? named + QStringLiteral(" 拾える") : named;
}

QString hand(const Game& game, bool upper) {
    const Hand& held = upper ? game.enemyHand : game.ownHand;
    QString line = handOwner(game, upper) + QStringLiteral("の持ち駒");
    bool any = false;
    for (int k = 1; k <= pieceKinds; ++k) {
        if (held[k] == 0) continue;
        line += u' ' + kindName(k) + u' ' + QString::number(held[k]);
        any = true;
    }
    return any ? line : line + QStringLiteral(" なし");
}

QString counter(const Game& game) { return QString::number(game.moveNumber) + QStringLiteral("手目"); }

QString turn(const Game& game) {
    if (game.gameOver == ON) return QString::fromStdString(game.winnerName) + QStringLiteral("の勝ち");
    if (game.sideToMove == SIDE_NONE) return QStringLiteral("対局していません");
    return player(game, game.sideToMove) + QStringLiteral("の番");
}

QString move(const Game& game, const Move& made) {
    const QString told = player(game, made.mover) + u' ' + square(made.square) + u' ' + kindName(made.kind) + u' ' +
                         QString::number(made.picked) + QStringLiteral("枚拾いました ");
    if (game.調査_消駒有無() == OFF) return told + player(game, made.mover) + QStringLiteral("の勝ち");
    return told + player(game, game.sideToMove) + QStringLiteral("の番です");
}

}  // namespace quolvet::words
