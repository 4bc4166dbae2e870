#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QObject>

#include "form1.h"
#include "recording_seams.h"

namespace quolvet::testing {

// The main window with recorded boxes and sounds, instant waits and a fixed deal, driven by the
// events a player makes: presses through the view, keys through Qt, menus by their path in the
// menu bar. Each step answers its transcript: what was heard, the boxes, the waits with their
// lengths (marked when the screen did not show the latest drawing), then the state the player
// sees and which parts of the window changed. After every step the whole window is checked
// against what the state says it must show.
//
// Steps: "open" (what the window's opening did), "press best" (the piece that picks up most), "press idle" (the first piece that picks
// up nothing), "press empty", "press C,R" (a grid cell), "press margin"; "right-press …";
// "double-click best"; "menu 対局/対局(COM)/先手"; "key Esc", "key F1", "key A"; "close";
// "to end" (presses the best piece until the game is over; only the last press is told).
class WindowHarness : public QObject {
public:
    explicit WindowHarness(unsigned dealSeed, float timeOfDay = 5.13f,
                           std::vector<std::filesystem::path> soundFolders = {makeSoundFolder()});
    ~WindowHarness() override;

    std::vector<std::string> step(const std::string& action);

    Form1& form() { return *form_; }
    const Game& game() const { return form_->game(); }
    int quits = 0;

    // The view's pixels as last painted on the screen.
    const QImage& screen() const { return screen_; }
    // The parts of the window that differ from what the game state says must be there.
    std::vector<std::string> screenFaults() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void act(const std::string& action);
    void pressAt(const std::string& target, Qt::MouseButton button, bool twice);
    void chooseMenu(const std::string& path);
    std::string stateLine() const;
    std::string changedParts(const QImage& before) const;
    std::vector<std::string> unpainted() const;
    std::string onScreenDuringWait() const;

    Journal journal_;
    RecordingSound sound_{journal_};
    RecordingBoxes boxes_{journal_};
    std::unique_ptr<Form1> form_;
    QImage screen_;
    size_t told_ = 0;  // journal entries already in a transcript
};

// Consecutive equal lines as one, "line ×n".
std::vector<std::string> folded(const std::vector<std::string>& lines);

}  // namespace quolvet::testing
