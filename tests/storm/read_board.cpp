// Reads the board back from a screenshot of the game and checks that it is a position the
// rules could have left: every square shows a known picture and every piece carries the sign
// the position gives it.
//
//   read_board SCREENSHOT VIEW_X VIEW_Y
//
// VIEW_X, VIEW_Y: where the window's drawing area begins in the screenshot.
// Exit status 0 for a lawful board, 1 for anything else, with the board printed either way.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QImage>

#include "game.h"
#include "window_oracle.h"

using namespace quolvet;

namespace {

constexpr int unknown = 99;

void printBoard(const Grid& board) {
    for (int y = 1; y <= boardSize; ++y) {
        for (int x = 1; x <= boardSize; ++x) {
            if (board[x][y] == unknown) std::printf("  ?");
            else std::printf("%3d", board[x][y]);
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: read_board SCREENSHOT VIEW_X VIEW_Y\n");
        return 2;
    }
    const QImage screen = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (screen.isNull()) {
        std::fprintf(stderr, "read_board: cannot read %s\n", argv[1]);
        return 1;
    }
    const QPoint view(std::atoi(argv[2]), std::atoi(argv[3]));
    Game game;
    bool allKnown = true;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            const auto code = oracle::pieceShownAt(screen, view + oracle::cellCorner(x, y));
            game.board[x][y] = code.value_or(unknown);
            allKnown = allKnown && code.has_value();
        }
    }
    printBoard(game.board);
    if (!allKnown) {
        std::fprintf(stderr, "read_board: some squares show no board picture\n");
        return 1;
    }
    Game signedAnew = game;
    signedAnew.設定_将棋盤_駒();
    if (signedAnew.board != game.board) {
        std::fprintf(stderr, "read_board: a piece's sign is not the one its position gives; expected:\n");
        printBoard(signedAnew.board);
        return 1;
    }
    std::printf("lawful board\n");
    return 0;
}
