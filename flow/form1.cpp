#include "form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <map>

#include "board_view.h"
#include "board_words.h"
#include "computer.h"
#include "window_icon.h"

namespace quolvet {
namespace {

// Key codes as the window's key handler takes them, whatever the toolkit calls them.
constexpr int keyEnter = 13;
constexpr int keyEscape = 27;
constexpr int keySpace = 32;
constexpr int keyEnd = 35;
constexpr int keyHome = 36;
constexpr int keyLeft = 37;
constexpr int keyUp = 38;
constexpr int keyRight = 39;
constexpr int keyDown = 40;
constexpr int keyF1 = 112;

int keyCode(int qtKey) {
    static const std::map<int, int> codes{
        {Qt::Key_Return, keyEnter}, {Qt::Key_Enter, keyEnter}, {Qt::Key_Escape, keyEscape}, {Qt::Key_Space, keySpace},
        {Qt::Key_End, keyEnd},      {Qt::Key_Home, keyHome},   {Qt::Key_Left, keyLeft},     {Qt::Key_Up, keyUp},
        {Qt::Key_Right, keyRight},  {Qt::Key_Down, keyDown},   {Qt::Key_F1, keyF1}};
    const auto found = codes.find(qtKey);
    return found == codes.end() ? 0 : found->second;
}

// The version box, one line per entry.
const QString versionText = QStringLiteral(
    "Quolvet  Version 0.93    [12/1999]\n"
    "\n"
    "                    QX-SOFT\n"
    "Home page\n"
    "https://quolvet.example/\n"
    "\n"
    "e-mail\n"
    "info@quolvet.example");

// The screen the window will most likely open on; Form_Load takes the one it did.
double startingPixelRatio() {
    const QScreen* screen = QApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1;
}

}  // namespace

Form1::Form1(Form1Seams seams)
    : seams_(std::move(seams)),
      canvas_(game_, startingPixelRatio()),
      module1_(seams_.sound, seams_.soundFolders, [this](const std::string& text) {
          seams_.messages.show(QString::fromStdString(text), QStringLiteral("Quolvet.dll"), true);
      }) {
    setWindowTitle(QStringLiteral("Quolvet"));
    setWindowIcon(quolvetWindowIcon());
    view_ = new BoardView(canvas_, game_, this);
    setCentralWidget(view_);
    canvas_.attach(view_);
    if (seams_.waiter) canvas_.setWaiter(seams_.waiter);
    view_->onMousePress = [this](QPoint pixel) {
        Form_MouseDown(pixel);
        view_->speaker().tell();
    };
    view_->onSquarePress = [this](Square square) {
        pressSquare(square);
        view_->speaker().tell();
    };
    buildMenus();
    setFocusPolicy(Qt::StrongFocus);
}

Form1::~Form1() = default;

void Form1::buildMenus() {
    // A desktop's global menu takes over only the entries that open a submenu, and 戻, 進 and
    // その他 would be lost there: the bar stays in the window. (Turning it off on the bar itself
    // comes too late: a bar is handed over as it is made.)
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    // After every command a screen reader finds the board's names as they now are.
    const auto command = [this](void (Form1::*handler)()) {
        return [this, handler] {
            (this->*handler)();
            view_->speaker().tell();
        };
    };
    QMenuBar* bar = menuBar();
    QMenu* TAIKYOKU = bar->addMenu(QStringLiteral("対局"));
    QMenu* MATCH_MAN = TAIKYOKU->addMenu(QStringLiteral("対局(人間)"));
    connect(MATCH_MAN->addAction(QStringLiteral("スタート")), &QAction::triggered, this, command(&Form1::START_Click));
    QMenu* START2 = TAIKYOKU->addMenu(QStringLiteral("対局(COM)"));
    connect(START2->addAction(QStringLiteral("先手")), &QAction::triggered, this, command(&Form1::SENTE_Click));
    connect(START2->addAction(QStringLiteral("後手")), &QAction::triggered, this, command(&Form1::GOTE_Click));
    connect(TAIKYOKU->addAction(QStringLiteral("終わり")), &QAction::triggered, this, command(&Form1::OWARI_Click));

    QMenu* STOP = bar->addMenu(QStringLiteral("局面"));
    connect(STOP->addAction(QStringLiteral("最初")), &QAction::triggered, this, command(&Form1::CANCEL_Click));
    connect(bar->addAction(QStringLiteral("戻")), &QAction::triggered, this, command(&Form1::REPLAY_Click));
    connect(bar->addAction(QStringLiteral("進")), &QAction::triggered, this, command(&Form1::AFTER_Click));

    QMenu* OPTION = bar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    BGM_ = OPTION->addAction(QStringLiteral("BGM"));
    // Qt flips the mark before telling us, and only a marked item is checkable: put the mark
    // back, 処理_BGM reads it and flips it itself.
    connect(BGM_, &QAction::triggered, this, [this] {
        BGM_->setChecked(BGM_->isCheckable());
        BGM_Click();
    });
    connect(bar->addAction(QStringLiteral("その他")), &QAction::triggered, this, command(&Form1::VER_Click));
}

void Form1::Form_Load() {
    module1_.InitSound(static_cast<int32_t>(winId()));
    soundOther = module1_.LoadSound("その他.wav", 3);
    soundForbidden = module1_.LoadSound("禁止.wav", 3);
    soundPieceTap = module1_.LoadSound("駒打音.wav", 3);
    soundBgm = module1_.LoadSound("BGM.wav", 1);
    if (seams_.musicAtStart) seams_.sound.dsPlayLooping(soundBgm);
    markBgm(seams_.musicAtStart);

    // The drawing area only: the menus keep the desktop's colours.
    QPalette palette = view_->palette();
    palette.setColor(QPalette::Window, qbColor(backgroundColor));
    view_->setPalette(palette);

    canvas_.setDevicePixelRatio(view_->devicePixelRatioF());
    canvas_.tileBackground();
    初期設定();
    canvas_.描画_絵(PIC_TITLE, 11.5, 0);
    placeWindow();
}

// On a screen of another density the whole window is drawn again at its resolution, from the
// game as it stands, in the order of start-up; the turn icons keep their places. A highlight
// shown at that moment is not kept: the next move draws the board afresh anyway.
void Form1::followScreen() {
    const double ratio = view_->devicePixelRatioF();
    if (ratio == canvas_.devicePixelRatio()) return;
    canvas_.setDevicePixelRatio(ratio);
    canvas_.tileBackground();
    canvas_.drawPosition();
    canvas_.描画_絵(PIC_TITLE, 11.5, 0);
    view_->update();
    // Qt 6.4 on X11 keeps a window's size in device pixels across screens, so at twice the
    // density it would show a quarter of the game: the window keeps its size in pixels instead.
    if (QWindow* window = windowHandle()) window->resize(sizeHint());
}

void Form1::placeWindow() {
    // Outer size 8500 × 8100 twips at the top-left corner, as far as the window system lets us.
    const QSize outer(geometry::twipsToPixel(8500), geometry::twipsToPixel(8100));
    const QSize frame = frameGeometry().size() - geometry().size();
    const int menuHeight = menuBar()->sizeHint().height();
    view_->setFixedSize(outer.width() - frame.width(), outer.height() - frame.height() - menuHeight);
    adjustSize();
    // The drawing has one size, so the window keeps it: no maximising, no resizing.
    setFixedSize(size());
    const QScreen* screen = QApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    move(std::max(available.left(), geometry::twipsToPixel(-50)), std::max(available.top(), geometry::twipsToPixel(-60)));
}

void Form1::初期設定() {
    view_->setFocus();
    game_.newBoard(seams_.dealer);
    record_.lastMoveNumber = game_.moveNumber;
    canvas_.消去_アイコン();
    record_.保存_現将棋盤(game_, game_.moveNumber);
    canvas_.drawPosition();
}

void Form1::START_Click() {
    初期設定();
    canvas_.描画_絵(PIC_BACKGROUND, -2, 0);
    canvas_.描画_絵(PIC_BACKGROUND, -1, 0);
    canvas_.描画_絵(PIC_BACKGROUND, 0, 0);
    game_.gameMode = MODE_HUMAN;
    game_.ownSide = SIDE_SENTE;
    game_.enemySide = SIDE_GOTE;
    game_.sideToMove = game_.ownSide;
    canvas_.描画_アイコン();
    message(QStringLiteral("先手の番です"), QStringLiteral(" "));
}

void Form1::SENTE_Click() {
    初期設定();
    game_.gameMode = MODE_COM;
    message(QStringLiteral("あなたの番です"), QStringLiteral(" "));
    game_.ownSide = SIDE_SENTE;
    game_.enemySide = SIDE_GOTE;
    game_.sideToMove = SIDE_SENTE;
}

void Form1::GOTE_Click() {
    初期設定();
    game_.gameMode = MODE_COM;
    game_.ownSide = SIDE_GOTE;
    game_.enemySide = SIDE_SENTE;
    game_.sideToMove = SIDE_SENTE;
    canvas_.描画_アイコン();
    com_ban();
}

void Form1::Form_MouseDown(QPoint pixel) {
    if (game_.gameOver == ON) {
        refuse(QString::fromStdString(game_.winnerName) + QStringLiteral("の勝ちです"), QStringLiteral("終了"));
        message(QStringLiteral("「対局」で始めて下さい"), QStringLiteral("開始"));
        return;
    }
    if (game_.sideToMove == SIDE_NONE) {
        refuse(QStringLiteral("「対局」で始めて下さい"), QStringLiteral("開始"));
        return;
    }
    if (game_.sideToMove == game_.enemySide && game_.gameMode == MODE_COM) {
        com_ban();
        return;
    }

    const Square square = geometry::cellAtPixel(pixel);
    if (square.x < 1 || square.x > boardSize || square.y < 1 || square.y > boardSize) return;
    const auto [x, y] = square;
    if (game_.board[x][y] == EMPTY) {
        refuse(QStringLiteral("駒をクリックして下さい"), QStringLiteral("注意"));
        return;
    }

    showChoice(square, 0.1);
    if (game_.調査_消駒有無_座標(x, y) == OFF) {
        refuse(QStringLiteral("拾える駒がありません"), QStringLiteral("注意"));
        canvas_.描画_将棋盤桝();
        return;
    }

    const words::Move made = moveOf(square);
    game_.設定_消去駒(x, y);
    canvas_.描画_将棋盤桝();
    消去_駒(game_.sideToMove);
    for (int k = 1; k <= pieceKinds; ++k) {
        if (game_.sideToMove == game_.ownSide) {
            canvas_.描画_自持駒(k);
        } else if (game_.sideToMove == game_.enemySide) {
            canvas_.描画_敵持駒(k);
        }
    }
    game_.設定_将棋盤_駒();
    canvas_.描画_盤();
    record_.手順保存(game_);
    canvas_.描画_手数(game_.moveNumber);

    if (game_.調査_消駒有無() == OFF) {
        tellMove(made);
        message(QStringLiteral("消せる駒が無くなりました"), QStringLiteral("終了"));
        終了(QString::fromStdString(game_.moverName(game_.sideToMove)));
        return;
    }
    game_.sideToMove = -game_.sideToMove;
    canvas_.描画_アイコン();
    tellMove(made);
    if (game_.gameMode == MODE_COM) com_ban();
}

// A press on the square's middle, as the mouse would make it.
void Form1::pressSquare(Square square) {
    const QPoint from = geometry::gridToPixel(square.x, square.y);
    Form_MouseDown((from + geometry::gridToPixel(square.x + 1, square.y + 1)) / 2);
}

// The move about to be made on the square, as the news will tell it.
words::Move Form1::moveOf(Square square) const {
    const auto [x, y] = square;
    return {square, std::abs(game_.board[x][y]), game_.調査_消駒数(x, y), game_.sideToMove};
}

void Form1::tellMove(const words::Move& made) { view_->speaker().announce(words::move(game_, made)); }

// After a step through the record or a fresh board: where the game stands now.
void Form1::tellPosition() { view_->speaker().announce(words::counter(game_) + u' ' + words::turn(game_)); }

void Form1::com_ban() {
    const std::optional<Square> choice = chooseComputerSquare(game_);
    if (!choice) return;
    const auto [x, y] = *choice;

    showChoice(*choice, 0.7);
    const words::Move made = moveOf(*choice);
    game_.設定_消去駒(x, y);
    canvas_.描画_将棋盤桝();
    消去_駒(game_.sideToMove);
    for (int k = 1; k <= pieceKinds; ++k) canvas_.描画_敵持駒(k);
    canvas_.描画_勢力範囲();
    game_.設定_将棋盤_駒();
    canvas_.描画_盤();
    record_.手順保存(game_);
    canvas_.描画_手数(game_.moveNumber);

    game_.sideToMove = -game_.sideToMove;
    tellMove(made);
    if (game_.調査_消駒有無() == OFF) {
        message(QStringLiteral("消せる駒が無くなりました"), QStringLiteral("終了"));
        終了(QStringLiteral("ＣＯＭ"));
    }
    canvas_.描画_アイコン();
}

void Form1::showChoice(Square square, double seconds) {
    canvas_.描画_移動可能桝(square.x, square.y);
    canvas_.描画_桝輪郭(COLOR_LIGHT_MAGENTA, square.x, square.y);
    seams_.sound.dsPlay(soundPieceTap);
    canvas_.refresh();
    canvas_.待ち時間(seconds);
}

void Form1::消去_駒(int side) {
    canvas_.消去_アイコン();
    canvas_.animatePickUp();
    game_.takeMarkedPieces(side);
    canvas_.drawMarkedSquaresEmpty();
    canvas_.refresh();
}

void Form1::終了(const QString& name) {
    game_.winnerName = name.toStdString();
    message(name + QStringLiteral("の勝ちです"), QStringLiteral("終了"));
    game_.gameOver = ON;
}

void Form1::REPLAY_Click() {
    if (!record_.canStepBack(game_)) {
        refuse(QStringLiteral("できません"), QStringLiteral("戻る"));
        return;
    }
    const MoveRecord::Changes changes = record_.stepBack(game_);
    canvas_.描画_アイコン();
    drawStep(changes, true);
    canvas_.描画_勢力範囲();
    seams_.sound.dsPlay(soundPieceTap);
    tellPosition();
}

void Form1::AFTER_Click() {
    if (!record_.canStepForward(game_)) {
        refuse(QStringLiteral("できません"), QStringLiteral("進む"));
        return;
    }
    const MoveRecord::Changes changes = record_.stepForward(game_);
    canvas_.描画_アイコン();
    drawStep(changes, false);
    seams_.sound.dsPlay(soundPieceTap);
    tellPosition();
}

void Form1::drawStep(const MoveRecord::Changes& changes, bool clearBesideHands) {
    for (const auto& [x, y] : changes.squares) {
        if (clearBesideHands && game_.sideToMove == game_.enemySide) {
            canvas_.描画_絵(PIC_BACKGROUND, -2, 9);
            canvas_.描画_絵(PIC_BACKGROUND, -1, 9);
            canvas_.描画_絵(PIC_BACKGROUND, 0, 9);
            canvas_.描画_桝輪郭(backgroundColor, -1, 8);
        } else if (clearBesideHands && game_.sideToMove == game_.ownSide) {
            canvas_.描画_絵(PIC_BACKGROUND, 13, 2);
            canvas_.描画_絵(PIC_BACKGROUND, 14, 2);
        }
        canvas_.描画_絵(game_.board[x][y], x, y);
        canvas_.描画_桝輪郭(backgroundColor, x, y);
    }
    for (int k = 1; k <= pieceKinds; ++k) {
        if (changes.enemyHand[k]) canvas_.描画_敵持駒(k);
        if (changes.ownHand[k]) canvas_.描画_自持駒(k);
        canvas_.描画_桝輪郭(backgroundColor, -1, k);
        canvas_.描画_桝輪郭(backgroundColor, 11, k + 1);
    }
    canvas_.描画_手数(game_.moveNumber);
}

void Form1::CANCEL_Click() {
    初期設定();
    seams_.sound.dsPlay(soundPieceTap);
    tellPosition();
}

void Form1::VER_Click() {
    seams_.sound.dsPlay(soundOther);
    message(versionText, QStringLiteral("Quolvet"));
}

// Esc and F1, and the keys that play without a mouse: the arrows, Home and End move the
// cursor over the board, Enter and Space press the square under it. Any other key does nothing.
void Form1::Form_KeyDown(int key) {
    using Step = BoardView::CursorStep;
    switch (key) {
        case keyEscape: return 処理_終了();
        case keyF1: return 処理_BGM();
        case keyLeft: return view_->moveCursor(Step::left);
        case keyRight: return view_->moveCursor(Step::right);
        case keyUp: return view_->moveCursor(Step::up);
        case keyDown: return view_->moveCursor(Step::down);
        case keyHome: return view_->moveCursor(Step::rowStart);
        case keyEnd: return view_->moveCursor(Step::rowEnd);
        case keyEnter:
        case keySpace:
            if (const auto at = view_->cursor()) return pressSquare(*at);
            return view_->moveCursor(Step::stay);
    }
}

void Form1::処理_BGM() {
    if (BGM_->isChecked()) {
        markBgm(false);
        seams_.sound.dsStop(soundBgm);
    } else {
        markBgm(true);
        seams_.sound.dsPlayLooping(soundBgm);
    }
}

// A check mark when on and nothing when off: several styles draw an empty box for an
// unchecked item that can be checked.
void Form1::markBgm(bool on) {
    BGM_->setCheckable(on);
    BGM_->setChecked(on);
}

void Form1::処理_終了() {
    if (ended_) return;
    ended_ = true;
    seams_.sound.dsFree(soundOther);
    seams_.sound.dsFree(soundForbidden);
    seams_.sound.dsFree(soundPieceTap);
    seams_.sound.dsFree(soundBgm);
    module1_.TermSound();
    // The program ends at once: the window goes, and whatever input is already queued behind
    // (a press after Esc, say) finds it disabled and is dropped before the event loop stops.
    setEnabled(false);
    hide();
    seams_.quit();
}

// A screen reader hears the news before the box, which it reads by itself. Without a window
// manager the keyboard focus falls to the root when a box closes: the board takes it back.
void Form1::message(const QString& text, const QString& title) {
    view_->speaker().tell();
    seams_.messages.show(text, title, false);
    if (isVisible() && !isActiveWindow()) activateWindow();
    view_->setFocus();
}

void Form1::refuse(const QString& text, const QString& title) {
    seams_.sound.dsPlay(soundForbidden);
    message(text, title);
}

// Qt 6.4 tells every widget of a window that has moved to another screen; later versions also
// tell of a new ratio on the same screen.
bool Form1::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) followScreen();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (event->type() == QEvent::DevicePixelRatioChange) followScreen();
#endif
    return QMainWindow::event(event);
}

void Form1::keyPressEvent(QKeyEvent* event) {
    const int key = keyCode(event->key());
    if (key == 0) return QMainWindow::keyPressEvent(event);
    Form_KeyDown(key);
    view_->speaker().tell();
}

void Form1::closeEvent(QCloseEvent* event) {
    処理_終了();
    event->accept();
}

}  // namespace quolvet
