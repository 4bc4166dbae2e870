#pragma once

#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "game.h"

namespace quolvet {

// Memory the system hands over zeroed, so that the record's 501 positions, all zeros at first,
// cost no writing: a position's pages are touched only once a game gets that far (the boards
// alone are 200 KB, some fifty fresh pages at start-up). Only for vectors made at their size for
// good: one that shrank and grew again would find the old elements there, not zeros.
template <typename T>
struct ZeroedAllocator {
    static_assert(std::is_trivial_v<T>, "only plain data is left as calloc zeroed it");
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&) {}
    T* allocate(std::size_t n) {
        if (void* memory = std::calloc(n, sizeof(T))) return static_cast<T*>(memory);
        throw std::bad_alloc();
    }
    void deallocate(T* memory, std::size_t) { std::free(memory); }
    // Value-initialized plain data is all zeros, which it already is.
    template <typename U>
    void construct(U*) noexcept {}
    template <typename U, typename... Args>
    void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
    bool operator==(const ZeroedAllocator&) const = default;
};

// Every position of the current line of play, board and both hands, by move number.
// Stepping copies a snapshot back; nothing is replayed or undone.
class MoveRecord {
public:
    static constexpr int capacity = 501;  // positions 0..500; a game has at most 80 moves

    MoveRecord();

    int lastMoveNumber = 0;
    std::vector<Grid, ZeroedAllocator<Grid>> historyBoard;
    std::vector<Hand, ZeroedAllocator<Hand>> historyEnemyHand;
    std::vector<Hand, ZeroedAllocator<Hand>> historyOwnHand;

    void 保存_現将棋盤(const Game& game, int n);  // store the position under index n
    void 手順保存(Game& game);                     // count the move just made and store it

    // What a step changed, in the order the screen should be brought up to date.
    struct Changes {
        std::vector<Square> squares;  // column 1..9 outside, row 1..9 inside
        std::array<bool, pieceKinds + 1> enemyHand{};
        std::array<bool, pieceKinds + 1> ownHand{};
    };

    bool canStepBack(const Game& game) const { return game.moveNumber >= 1; }
    bool canStepForward(const Game& game) const { return game.moveNumber < lastMoveNumber; }

    // One move back: the game is open again and the side of the next move is to play.
    Changes stepBack(Game& game) const;
    // One move forward: a position with nothing left to pick up is over again.
    Changes stepForward(Game& game) const;

private:
    Changes restore(Game& game) const;
};

}  // namespace quolvet
