#pragma once

#include <array>

// The vocabulary every part of the game shares: answers, piece codes, sides, modes.
// A piece code is ±kind: negative while the piece can pick something up (active),
// positive while it cannot (idle). The rules look only at the kind.
namespace quolvet {

inline constexpr int ON = 1;
inline constexpr int OFF = 0;

inline constexpr int EMPTY = 0;
inline constexpr int boardSize = 9;

inline constexpr int HU = 1;    // 歩
inline constexpr int KYOU = 2;  // 香
inline constexpr int KEI = 3;   // 桂
inline constexpr int GIN = 4;   // 銀
inline constexpr int KIN = 5;   // 金
inline constexpr int KAKU = 6;  // 角
inline constexpr int SYA = 7;   // 飛
inline constexpr int OU = 8;    // 王
inline constexpr int pieceKinds = 8;

inline constexpr int HU_ACTIVE = -HU;
inline constexpr int KYOU_ACTIVE = -KYOU;
inline constexpr int KEI_ACTIVE = -KEI;
inline constexpr int GIN_ACTIVE = -GIN;
inline constexpr int KIN_ACTIVE = -KIN;
inline constexpr int KAKU_ACTIVE = -KAKU;
inline constexpr int SYA_ACTIVE = -SYA;
inline constexpr int OU_ACTIVE = -OU;

inline constexpr int SIDE_SENTE = 1;  // 先手, moves first
inline constexpr int SIDE_GOTE = -1;  // 後手
inline constexpr int SIDE_NONE = 0;   // no game running

inline constexpr int MODE_HUMAN = 0;  // two people at one board
inline constexpr int MODE_COM = 1;    // a person against the computer

// Indexed [x][y] with x the column (1..9, left to right) and y the row (1..9, top to bottom);
// row 0 and column 0 exist but the game never uses them.
using Grid = std::array<std::array<int, boardSize + 1>, boardSize + 1>;
// Piece counts by kind 1..8; index 0 is unused.
using Hand = std::array<int, pieceKinds + 1>;

struct Square {
    int x = 0;
    int y = 0;
    friend bool operator==(const Square&, const Square&) = default;
};

}  // namespace quolvet
