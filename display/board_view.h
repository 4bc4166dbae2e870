#pragma once

#include <functional>
#include <optional>

#include <QPoint>
#include <QWidget>

#include "board_accessible.h"
#include "game.h"

namespace quolvet {

class Canvas;

// Shows the canvas's image at one logical pixel per image pixel and hands presses to the
// main window. Attach it to the canvas (Canvas::attach) so the turn icons sit on it.
//
// It also carries the keyboard cursor, drawn over the image and never into it, and the board
// as screen readers read it (BoardSpeaker): the main window tells it of every change.
class BoardView : public QWidget {
public:
    // Everything that matters (counter at X 8140 twips, board bottom at 6250, the lower icon)
    // with a margin of background.
    static constexpr int viewWidth = 559;
    static constexpr int viewHeight = 440;

    BoardView(const Canvas& canvas, const Game& game, QWidget* parent = nullptr);

    // A press of any mouse button, at its position in the view's pixels.
    std::function<void(QPoint pixel)> onMousePress;
    // A square pressed without the mouse (a screen reader's action on it).
    std::function<void(Square square)> onSquarePress;

    const Game& game() const { return game_; }

    // The cursor shows where it stands (５五 at first) and then moves; it stops at the edges.
    enum class CursorStep { stay, left, right, up, down, rowStart, rowEnd };
    void moveCursor(CursorStep step);
    // Where the cursor stands, while it is shown.
    std::optional<Square> cursor() const;
    // The cursor goes to the square, which is then pressed.
    void pressSquare(Square square);
    // The square's cell in the view's pixels.
    static QRect squareRect(Square square);

    BoardSpeaker& speaker() { return speaker_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double-click comes as this event alone; it makes no move.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void paintCursor(QPainter& painter) const;
    void placeCursor(Square square);

    const Canvas& canvas_;
    const Game& game_;
    Square cursor_{5, 5};
    bool cursorShown_ = false;
    BoardSpeaker speaker_{*this};
};

}  // namespace quolvet
