// Reads the board back from a screenshot of the game and checks that it is a position the rules
// could have left: every square shows a board picture and every piece carries the sign the
// position gives it. Prints the board; exit status 0 for a lawful one.
//
//   read_board SCREENSHOT VIEW_X VIEW_Y      (where the window's drawing begins in the screenshot)

#include <cstdio>
#include <cstdlib>

#include <QImage>

#include "game.h"
#include "window_oracle.h"

using namespace quolvet;

int main(int, char** argv) {
    const QImage screen = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QPoint view(std::atoi(argv[2]), std::atoi(argv[3]));
    Game game;
    for (int y = 1; y <= boardSize; ++y, std::puts("")) {
        for (int x = 1; x <= boardSize; ++x) {
            const auto code = oracle::pieceShownAt(screen, view + oracle::cellCorner(x, y));
            if (!code) return std::fprintf(stderr, "square %d,%d shows no board picture\n", x, y), 1;
            std::printf("%3d", game.board[x][y] = *code);
        }
    }
    Game signedAnew = game;
    signedAnew.設定_将棋盤_駒();
    if (signedAnew.board == game.board) return std::puts("lawful board"), 0;
    return std::fputs("a piece's sign is not the one its position gives\n", stderr), 1;
}
