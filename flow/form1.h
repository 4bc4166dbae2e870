#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include <QMainWindow>

#include "board_words.h"
#include "canvas.h"
#include "game.h"
#include "message_boxes.h"
#include "module1.h"
#include "move_record.h"

class QAction;

namespace quolvet {

class BoardView;

// What the main window reaches the outside world through. The program passes the real
// ones; tests pass recorders, instant waits and a fixed deal.
struct Form1Seams {
    SoundLibrary& sound;
    MessageBoxes& messages;
    std::function<void(double seconds)> waiter;  // empty: really wait
    std::function<void()> quit;                  // ends the program
    std::vector<std::filesystem::path> soundFolders;
    Dealer dealer;
    bool musicAtStart = true;  // off: the music waits for F1 or the menu
};

// The main window: owns the game, its record, the picture and the sounds, and conducts every
// press, key and menu command through them, one at a time, each to its end.
class Form1 final : public QMainWindow {
public:
    explicit Form1(Form1Seams seams);
    ~Form1() override;

    void Form_Load();
    void 初期設定();

    void START_Click();
    void SENTE_Click();
    void GOTE_Click();
    void OWARI_Click() { 処理_終了(); }
    void REPLAY_Click();
    void AFTER_Click();
    void CANCEL_Click();
    void BGM_Click() { 処理_BGM(); }
    void VER_Click();

    // A press at a point of the board view, in its pixels; any button makes a move.
    void Form_MouseDown(QPoint pixel);
    void Form_KeyDown(int key);

    void com_ban();
    void 処理_BGM();
    void 処理_終了();

    const Game& game() const { return game_; }
    const MoveRecord& record() const { return record_; }
    const Canvas& canvas() const { return canvas_; }
    BoardView* view() const { return view_; }
    QAction* bgmAction() const { return BGM_; }

    int32_t soundOther = 0;
    int32_t soundForbidden = 0;
    int32_t soundPieceTap = 0;
    int32_t soundBgm = 0;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void placeWindow();
    void markBgm(bool on);
    void followScreen();
    void message(const QString& text, const QString& title);
    void refuse(const QString& text, const QString& title);
    void showChoice(Square square, double seconds);
    void pressSquare(Square square);
    words::Move moveOf(Square square) const;
    void tellMove(const words::Move& made);
    void tellPosition();
    void 消去_駒(int side);
    void 終了(const QString& name);
    void drawStep(const MoveRecord::Changes& changes, bool clearBesideHands);

    Form1Seams seams_;
    Game game_;
    MoveRecord record_;
    Canvas canvas_;
    Module1 module1_;
    BoardView* view_ = nullptr;
    QAction* BGM_ = nullptr;
    bool ended_ = false;
};

}  // namespace quolvet
