#pragma once

#include <array>

#include <QString>

class QAccessibleEvent;
class QAccessibleInterface;

namespace quolvet {

class BoardView;

// The board view's children for screen readers, in this order: the 81 squares row by row from
// the top, left to right, then the two hands, the move counter, whose turn it is, and the last
// news (what the last moves did).
namespace board_children {
inline constexpr int squares = 81;
inline constexpr int upperHand = 81;
inline constexpr int lowerHand = 82;
inline constexpr int counter = 83;
inline constexpr int turn = 84;
inline constexpr int news = 85;
inline constexpr int count = 86;
}  // namespace board_children

// Lets Qt give every board view its accessible table; once for the program.
void installBoardAccessibility();

// Keeps screen readers up to date with the board view: the square under the cursor as the
// focus, the names that changed, and the news of each move. Until a screen reader (or a test)
// has asked for the view's accessible interface nothing is made and nothing is sent, so a game
// without one pays nothing.
class BoardSpeaker {
public:
    explicit BoardSpeaker(BoardView& view) : view_(view) {}

    // A child's name as it reads now (board_children).
    QString childName(int index) const;

    void focusMoved();
    // A sentence for the news, told with the next tell().
    void announce(const QString& sentence);
    // Tells the names that changed, then the news: a notification that screen readers speak
    // when it shows. The caller tells when the window can answer a screen reader's questions
    // (a message box is opening, or the event is done): the sentences of one press come as
    // one, so none cuts another short.
    void tell();

    // Called by the accessible interface when a screen reader first asks for it.
    void asked();

private:
    BoardView& view_;
    bool asked_ = false;
    std::array<QString, board_children::count> told_;
    QString news_;
    QString pending_;
};

}  // namespace quolvet
