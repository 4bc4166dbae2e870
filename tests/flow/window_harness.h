#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QObject>

#include "form1.h"

namespace quolvet::testing {

// A folder holding the four sound files, each file's content being its own name.
std::filesystem::path makeSoundFolder();

// The main window with its boxes and sounds written down instead of shown and played, instant
// waits and a fixed deal, driven by the events a player makes: presses through the view, keys
// through Qt, menus by their path in the menu bar. Each step answers its transcript: the sounds
// (named by their files' content), the boxes, the waits with their lengths and what the screen
// showed meanwhile, then the state the player sees and which parts of the window changed. After
// every step the whole window is checked against what the state says it must show.
//
// Steps: "open" (what opening the window did); "press best" (the piece that picks up most),
// "press idle" (the first piece that picks up nothing), "press empty", "press C,R" (a grid
// cell), "press margin", or "right-press …"; "act C,R" (a screen reader's action on the square);
// "menu 対局/対局(COM)/先手"; "menus" (tells the captions in their nesting); "key Esc", "key F1",
// "key Left", "key Return" and the like; "close"; "to end" (presses the best piece until the
// game is over; tells the last).
class WindowHarness : public QObject, SoundLibrary, MessageBoxes {
public:
    explicit WindowHarness(unsigned dealSeed, std::vector<std::filesystem::path> soundFolders = {makeSoundFolder()},
                           bool musicAtStart = true);
    ~WindowHarness() override;

    std::vector<std::string> step(const std::string& action);

    Form1& form() { return *form_; }
    const Game& game() const { return form_->game(); }
    int quits = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int32_t dsInitialize(int32_t) override { return 1; }
    int32_t dsCreateDSB(int32_t, const uint8_t* image, uint32_t size, int32_t) override;
    void dsPlay(int32_t sound) override { heard("play", sound); }
    void dsPlayLooping(int32_t sound) override { heard("loop", sound); }
    void dsStop(int32_t sound) override { heard("stop", sound); }
    void dsFree(int32_t sound) override { heard("free", sound); }
    void dsTerminate(int32_t) override { told_.push_back("terminate"); }
    const char* dsLastError() override { return ""; }
    void show(const QString& text, const QString& title, bool warning) override;
    void heard(const char* what, int32_t sound) { told_.push_back(std::string(what) + " " + names_[sound]); }

    void act(const std::string& action);
    void pressAt(const std::string& target, Qt::MouseButton button);
    void actOn(const std::string& target);
    void chooseMenu(const std::string& path);
    std::string onScreenDuringWait() const;
    std::string stateLine() const;
    std::vector<std::string> unpainted() const;

    std::map<int32_t, std::string> names_{{0, "0"}};
    std::vector<std::string> told_;
    std::unique_ptr<Form1> form_;
    QImage screen_;  // the view's pixels as last painted on the screen
};

}  // namespace quolvet::testing
