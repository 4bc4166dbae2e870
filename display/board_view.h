#pragma once

#include <functional>

#include <QPoint>
#include <QWidget>

namespace quolvet {

class Canvas;

// Shows the canvas's image at one logical pixel per image pixel and hands presses to the
// main window. Attach it to the canvas (Canvas::attach) so the turn icons sit on it.
class BoardView : public QWidget {
public:
    // Everything that matters (counter at X 8140 twips, board bottom at 6250, the lower icon)
    // with a margin of background.
    static constexpr int viewWidth = 559;
    static constexpr int viewHeight = 440;

    explicit BoardView(const Canvas& canvas, QWidget* parent = nullptr);

    // A press of any mouse button, at its position in the view's pixels.
    std::function<void(QPoint pixel)> onMousePress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double-click comes as this event alone; it makes no move.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const Canvas& canvas_;
};

}  // namespace quolvet
