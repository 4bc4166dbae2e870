// The board for screen readers: the view is a 9 × 9 table of squares, each cell named as a
// shogi player says the square and pressed by its default action, followed by four lines of
// text (both hands, the counter, the turn) and the news of the last moves. Qt carries it to
// AT-SPI on Linux.

#include "board_accessible.h"

#include <QAccessibleWidget>

#include "board_view.h"
#include "board_words.h"
#include "canvas.h"

namespace quolvet {
namespace {

Square squareOf(int index) { return {index % boardSize + 1, index / boardSize + 1}; }
int indexOf(Square square) { return (square.y - 1) * boardSize + square.x - 1; }

QRect cells(double fromColumn, double fromRow, double toColumn, double toRow) {
    return {geometry::gridToPixel(fromColumn, fromRow), geometry::gridToPixel(toColumn, toRow) - QPoint(1, 1)};
}

// Where each part is drawn, in the view's pixels, so that a screen reader's review of the
// screen and a magnifier find it there: a hand with its counts, the counter with its caption,
// the turn icon in use, and the news over the board it tells of.
QRect partRect(int index, const Game& game) {
    switch (index) {
        case board_children::upperHand: return cells(-1, 1, 1, 9);
        case board_children::lowerHand: return cells(11, 2, 13, 10);
        case board_children::counter: return cells(12.7, 3, 15, 4);
        case board_children::turn:
            return {game.sideToMove == game.enemySide ? Canvas::upperIconPlace() : Canvas::lowerIconPlace(), QSize(32, 32)};
        case board_children::news: return cells(1, 1, 10, 10);
        default: return BoardView::squareRect(squareOf(index));
    }
}

// A child without a widget of its own: a square, or a line of text. It reads everything from
// the view, and goes invalid with it.
class BoardPart : public QAccessibleInterface, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
public:
    BoardPart(BoardView* view, int index) : view_(view), index_(index) {}

    bool isValid() const override { return view_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_->window()->windowHandle(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return view_->speaker().childName(index_);
        return {};
    }

    // Qt 6.4 has no announcements, and the description a screen reader could watch reaches
    // AT-SPI without its text: news is a notification, which is spoken whenever it shows.
    QAccessible::Role role() const override {
        if (isSquare()) return QAccessible::Cell;
        return index_ == board_children::news ? QAccessible::Notification : QAccessible::StaticText;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isSquare()) {
            state.readOnly = true;
            return state;
        }
        state.focusable = true;
        state.selectable = true;
        state.selected = isCursor();
        state.focused = isCursor() && view_->hasFocus();
        return state;
    }

    QRect rect() const override {
        const QRect local = partRect(index_, view_->game());
        return QRect(view_->mapToGlobal(local.topLeft()), local.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (!isSquare()) return nullptr;
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override { return isCursor(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_ % boardSize; }
    int rowIndex() const override { return index_ / boardSize; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) view_->pressSquare(squareOf(index_));
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        return {};
    }

private:
    bool isSquare() const { return index_ < board_children::squares; }
    bool isCursor() const { return isSquare() && view_->cursor() == squareOf(index_); }

    QPointer<BoardView> view_;
    int index_;
};

// The view itself: a table whose cells are the squares, and the lines after them. The turn
// icons, pictures with nothing to say, are left out.
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardAccessible(BoardView* view) : QAccessibleWidget(view, QAccessible::Table), view_(view) {
        view->speaker().asked();
    }

    ~BoardAccessible() override {
        for (const QAccessible::Id id : parts_)
            if (id) QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return QStringLiteral("盤");
        return {};
    }

    int childCount() const override { return board_children::count; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= board_children::count) return nullptr;
        QAccessible::Id& id = parts_[size_t(index)];
        if (!id) id = QAccessible::registerAccessibleInterface(new BoardPart(view_, index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < board_children::count; ++index)
            if (parts_[size_t(index)] && QAccessible::accessibleInterface(parts_[size_t(index)]) == child) return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = 0; index < board_children::squares; ++index)
            if (child(index)->rect().contains(x, y)) return child(index);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const auto at = view_->cursor();
        return at && view_->hasFocus() ? child(indexOf(*at)) : nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= boardSize || column < 0 || column >= boardSize) return nullptr;
        return child(row * boardSize + column);
    }
    int selectedCellCount() const override { return view_->cursor() ? 1 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override {
        if (const auto at = view_->cursor()) return {child(indexOf(*at))};
        return {};
    }
    QString columnDescription(int column) const override { return words::square({column + 1, 1}).left(1); }
    QString rowDescription(int row) const override { return words::square({1, row + 1}).right(1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return boardSize; }
    int rowCount() const override { return boardSize; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    BoardView* view_;
    mutable std::array<QAccessible::Id, board_children::count> parts_{};
};

QAccessibleInterface* boardFactory(const QString&, QObject* object) {
    auto* view = dynamic_cast<BoardView*>(object);
    return view ? new BoardAccessible(view) : nullptr;
}

}  // namespace

void installBoardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(boardFactory);
        return true;
    }();
    (void)installed;
}

QString BoardSpeaker::childName(int index) const {
    const Game& game = view_.game();
    switch (index) {
        case board_children::upperHand: return words::hand(game, true);
        case board_children::lowerHand: return words::hand(game, false);
        case board_children::counter: return words::counter(game);
        case board_children::turn: return words::turn(game);
        case board_children::news: return news_;
        default: return words::squareContents(game, squareOf(index));
    }
}

void BoardSpeaker::asked() {
    asked_ = true;
    for (int index = 0; index < board_children::count; ++index) told_[size_t(index)] = childName(index);
}

void BoardSpeaker::focusMoved() {
    if (!asked_) return;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view_);
    const auto at = view_.cursor();
    QAccessibleEvent event(at ? board->child(indexOf(*at)) : board, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void BoardSpeaker::announce(const QString& sentence) {
    pending_ += (pending_.isEmpty() ? QString() : QStringLiteral("。")) + sentence;
}

void BoardSpeaker::tell() {
    const bool newsCame = !pending_.isEmpty();
    if (newsCame) news_ = std::exchange(pending_, {});
    if (!asked_) return;
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&view_);
    for (int index = 0; index < board_children::count; ++index) {
        QString name = childName(index);
        if (name == told_[size_t(index)]) continue;
        told_[size_t(index)] = std::move(name);
        QAccessibleEvent event(board->child(index), QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (!newsCame) return;
    QAccessibleEvent shown(board->child(board_children::news), QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace quolvet
