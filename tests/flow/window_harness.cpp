#include "window_harness.h"

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "board_view.h"
#include "computer.h"
#include "window_oracle.h"

namespace quolvet::testing {
namespace {

std::string joined(const std::set<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ", ") + part;
    return out;
}

// The captions in their nesting, each with its shortcut if it has one.
std::string menuTree(const QList<QAction*>& actions) {
    std::string out;
    for (const QAction* action : actions) {
        out += (out.empty() ? "" : " ") + action->text().toStdString();
        if (!action->shortcut().isEmpty()) out += " [" + action->shortcut().toString().toStdString() + "]";
        if (action->menu()) out += "(" + menuTree(action->menu()->actions()) + ")";
    }
    return out;
}

}  // namespace

std::filesystem::path makeSoundFolder() {
    const auto folder = std::filesystem::temp_directory_path() / ("quolvet-sounds-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) std::ofstream(folder / name) << name;
    return folder;
}

WindowHarness::WindowHarness(unsigned dealSeed, std::vector<std::filesystem::path> soundFolders, bool musicAtStart) {
    const auto wait = [this](double seconds) {
        std::ostringstream line;
        // A frame's pause is what its drawing leaves of the frame, less on a busy machine: waits
        // are told in tenths rounded up, so only a pause that is gone reads 0.
        line << "wait " << std::ceil(seconds * 10 - 1e-6) / 10 << onScreenDuringWait();
        told_.push_back(line.str());
    };
    Dealer dealer;
    dealer.timeOfDay = [] { return 5.13f; };
    dealer.uniform = [engine = std::mt19937(dealSeed)]() mutable {
        return std::uniform_real_distribution<double>(0, 1)(engine);
    };
    form_ = std::make_unique<Form1>(Form1Seams{.sound = *this,
                                              .messages = *this,
                                              .waiter = wait,
                                              .quit = [this] { ++quits; },
                                              .soundFolders = std::move(soundFolders),
                                              .dealer = std::move(dealer),
                                              .musicAtStart = musicAtStart});
    form_->view()->installEventFilter(this);
    screen_ = QImage(form_->view()->size(), QImage::Format_RGB32);
    form_->Form_Load();
    form_->show();
    QApplication::processEvents();
}

WindowHarness::~WindowHarness() = default;

int32_t WindowHarness::dsCreateDSB(int32_t, const uint8_t* image, uint32_t size, int32_t) {
    const auto handle = int32_t(names_.size());
    names_[handle] = std::string(reinterpret_cast<const char*>(image), size);
    return handle;
}

void WindowHarness::show(const QString& text, const QString& title, bool warning) {
    told_.push_back((warning ? "warning [" : "box [") + title.toStdString() + "] " + text.toStdString());
}

// The screen keeps what was last painted on each pixel, as a real one does.
bool WindowHarness::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        QPainter painter(&screen_);
        painter.setClipRegion(static_cast<QPaintEvent*>(event)->region());
        painter.drawImage(0, 0, form_->canvas().image());
    }
    return QObject::eventFilter(watched, event);
}

std::vector<std::string> WindowHarness::step(const std::string& action) {
    std::vector<std::string> lines;
    if (action == "to end") {
        for (int presses = 0; game().gameOver == OFF && presses <= 81; ++presses) lines = step("press best");
        return lines;
    }
    const QImage before = screen_;
    const bool music = form_->bgmAction()->isChecked();
    if (action != "open") act(action);
    QApplication::processEvents();
    lines = std::exchange(told_, {});
    if (form_->bgmAction()->isChecked() != music) lines.push_back(music ? "music off" : "music on");
    lines.push_back(stateLine());
    std::set<std::string> changed;
    for (const std::string& part : oracle::differences(before, screen_))
        changed.insert(part.starts_with("square")                             ? "board"
                       : part.starts_with("upper") || part.starts_with("lower") ? part.substr(0, 5) + " hand"
                                                                                : part);
    if (!changed.empty()) lines.push_back("~ " + joined(changed));
    auto faults = oracle::differences(form_->canvas().image(), oracle::expectedWindow(game()));
    for (const std::string& behind : unpainted()) faults.push_back("unpainted " + behind);
    if (!faults.empty()) lines.push_back("!! the window does not show the state: " + joined({faults.begin(), faults.end()}));
    return lines;
}

// The parts of the view whose pixels on the screen are not those of the drawing.
std::vector<std::string> WindowHarness::unpainted() const {
    return oracle::differences(screen_, form_->canvas().image().copy(screen_.rect()));
}

void WindowHarness::act(const std::string& action) {
    const auto space = action.find(' ');
    const std::string verb = action.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : action.substr(space + 1);
    if (verb == "press" || verb == "right-press") return pressAt(rest, verb == "press" ? Qt::LeftButton : Qt::RightButton);
    if (verb == "menu") return chooseMenu(rest);
    if (verb == "menus") return told_.push_back(menuTree(form_->menuBar()->actions()));
    if (verb == "key") return QTest::keyClick(form_->view(), QKeySequence(QString::fromStdString(rest))[0].key());
    if (verb == "act") return actOn(rest);
    if (verb == "close") return (void)form_->close();
    ADD_FAILURE() << "no such step: " << action;
}

// What a screen reader does with the default action of a square's cell.
void WindowHarness::actOn(const std::string& target) {
    int c = 0, r = 0;
    std::sscanf(target.c_str(), "%d,%d", &c, &r);
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(form_->view())->child((r - 1) * boardSize + c - 1);
    cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

void WindowHarness::pressAt(const std::string& target, Qt::MouseButton button) {
    std::optional<Square> square = target == "best" ? chooseComputerSquare(game()) : std::nullopt;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (!square && ((target == "idle" && game().board[x][y] > 0) || (target == "empty" && game().board[x][y] == EMPTY)))
                square = Square{x, y};
    if (int c, r; std::sscanf(target.c_str(), "%d,%d", &c, &r) == 2) square = Square{c, r};
    QPoint at(3, 3);  // the margin above the upper hand
    if (square) at = (oracle::cellCorner(square->x, square->y) + oracle::cellCorner(square->x + 1, square->y + 1)) / 2;
    else if (target != "margin") ADD_FAILURE() << "no square for " << target;
    QTest::mouseClick(form_->view(), button, {}, at);
}

// Follows the captions through the menu bar's real nesting; a caption that is not there, or a
// submenu where a command was meant, is a failure.
void WindowHarness::chooseMenu(const std::string& path) {
    QList<QAction*> actions = form_->menuBar()->actions();
    std::istringstream parts(path);
    QAction* chosen = nullptr;
    for (std::string caption; std::getline(parts, caption, '/'); actions = chosen->menu() ? chosen->menu()->actions() : QList<QAction*>{}) {
        const auto found = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text().toStdString() == caption; });
        if (found == actions.end()) return (void)(ADD_FAILURE() << "no menu item " << caption << " in " << path);
        chosen = *found;
    }
    if (chosen->menu()) return (void)(ADD_FAILURE() << path << " opens a submenu");
    chosen->trigger();
}

// What a pause lets the player see: the chosen square in magenta with the number of squares its
// piece reaches in white (three of their four sides at least: the chosen one's outline may cover
// one), or the frame of the pick-up and on how many squares; and whether anything drawn had not
// reached the screen.
std::string WindowHarness::onScreenDuringWait() const {
    const auto side = [this](int x, int y, bool top, QRgb colour) {
        return screen_.pixel(oracle::cellCorner(x, y) + (top ? QPoint(16, 0) : QPoint(0, 20))) == colour;
    };
    std::ostringstream seen;
    int reached = 0;
    std::map<std::string, int> frames;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (side(x, y, true, 0xFFFF00FF) && side(x, y, false, 0xFFFF00FF)) seen << " at " << x << "," << y;
            const QRgb white = 0xFFFFFFFF;
            reached += side(x, y, true, white) + side(x, y, false, white) + side(x, y + 1, true, white) + side(x + 1, y, false, white) >= 3;
            const std::string shown = oracle::pictureShownAt(screen_, oracle::cellCorner(x, y));
            if (shown.starts_with("KOMA") || shown.starts_with("PA")) ++frames[shown];
        }
    }
    if (reached) seen << " (+" << reached << ")";
    for (const auto& [frame, count] : frames) seen << " " << count << " " << frame;
    if (const auto behind = unpainted(); !behind.empty()) seen << " (screen behind: " << behind.front() << ")";
    return seen.str();
}

std::string WindowHarness::stateLine() const {
    const Game& g = game();
    std::ostringstream line;
    if (g.gameOver == ON) line << "over, " << g.winnerName << " won, ";
    line << (g.sideToMove == SIDE_SENTE ? "先手 to move" : g.sideToMove == SIDE_GOTE ? "後手 to move" : "no game");
    line << ", move " << g.moveNumber << " of " << form_->record().lastMoveNumber;
    std::string icons;
    for (const auto& [icon, name] : {std::pair{form_->canvas().iconMan(), "man"}, {form_->canvas().iconCom(), "com"}}) {
        const QPoint at = icon->pos();  // 300, 100 and 6900, 5600 twips
        if (!icon->isHidden()) icons += std::string(", ") + name + (at == QPoint(20, 7) ? " upper" : at == QPoint(460, 373) ? " lower" : " astray");
    }
    line << (icons.empty() ? ", no icon" : icons);
    if (const auto at = form_->view()->cursor()) line << ", cursor at " << at->x << "," << at->y;
    return line.str();
}

}  // namespace quolvet::testing
