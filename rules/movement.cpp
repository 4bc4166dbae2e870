#include <cstdlib>

#include "game.h"

namespace quolvet {
namespace {

int answer(bool allowed) { return allowed ? ON : OFF; }

int sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int Game::移動チェック(int x1, int y1, int x2, int y2, int code) const {
    if (x2 < 1 || x2 > boardSize || y2 < 1 || y2 > boardSize) return OFF;
    if (x2 == x1 && y2 == y1) return OFF;
    const int dx = x2 - x1;
    const int dy = y2 - y1;  // negative is forward, toward row 1
    switch (std::abs(code)) {
        case HU:
            return answer(dx == 0 && dy == -1);
        case KYOU:
            if (dx != 0 || dy >= 0) return OFF;
            for (int y = y2 + 1; y < y1; ++y) {
                if (board[x1][y] != EMPTY) return OFF;
            }
            return ON;
        case KEI:
            return answer(dy == -2 && (dx == -1 || dx == 1));
        case GIN:
            return answer(std::abs(dx) < 2 && (dy == -1 || (dy == 1 && dx != 0)));
        case KIN:
            return answer((std::abs(dx) < 2 && (dy == -1 || dy == 0)) || (dy == 1 && dx == 0));
        case KAKU:
            return 移動チェック角(x1, y1, x2, y2);
        case SYA:
            return 移動チェック飛車(x1, y1, x2, y2);
        case OU:
            return answer(std::abs(dx) <= 1 && std::abs(dy) <= 1);
        default:
            return OFF;
    }
}

int Game::移動チェック角(int x1, int y1, int x2, int y2) const {
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    if (dx != -dy && dx != dy) return OFF;
    const int sx = sign(dx);
    const int sy = sign(dy);
    for (int x = x1 + sx, y = y1 + sy; x != x2; x += sx, y += sy) {
        if (board[x][y] != EMPTY) return OFF;
    }
    return ON;
}

int Game::移動チェック飛車(int x1, int y1, int x2, int y2) const {
    if (x2 != x1 && y2 != y1) return OFF;
    if (y2 != y1) {
        const int step = y2 > y1 ? 1 : -1;
        for (int y = y1 + step; y != y2; y += step) {
            if (board[x2][y] != EMPTY) return OFF;
        }
    }
    if (x2 != x1) {
        const int step = x2 > x1 ? 1 : -1;
        for (int x = x1 + step; x != x2; x += step) {
            if (board[x][y2] != EMPTY) return OFF;
        }
    }
    return ON;
}

}  // namespace quolvet
