#include "window_harness.h"

#include <cmath>
#include <map>
#include <random>
#include <set>
#include <sstream>

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

std::string sideName(int side) {
    return side == SIDE_SENTE ? "先手" : side == SIDE_GOTE ? "後手" : "nobody";
}

std::string joined(const std::set<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ", ") + part;
    return out;
}

// "square 5,3" and "upper count 2" are parts of the board and of the upper hand.
std::string groupOf(const std::string& part) {
    if (part.starts_with("square")) return "board";
    for (const char* hand : {"upper", "lower"})
        if (part.starts_with(hand)) return std::string(hand) + " hand";
    return part;
}


Dealer fixedDeal(unsigned seed, float timeOfDay) {
    Dealer dealer;
    dealer.timeOfDay = [timeOfDay] { return timeOfDay; };
    dealer.uniform = [engine = std::mt19937(seed)]() mutable {
        return std::uniform_real_distribution<double>(0, 1)(engine);
    };
    return dealer;
}

std::optional<Square> firstSquare(const Game& game, bool (*wanted)(const Game&, int, int)) {
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (wanted(game, x, y)) return Square{x, y};
    return std::nullopt;
}

}  // namespace

WindowHarness::WindowHarness(unsigned dealSeed, float timeOfDay, std::vector<std::filesystem::path> soundFolders) {
    const auto wait = [this](double seconds) {
        std::ostringstream line;
        line << "wait " << std::round(seconds * 10) / 10 << onScreenDuringWait();
        journal_.events.push_back(line.str());
    };
    form_ = std::make_unique<Form1>(Form1Seams{.sound = sound_,
                                              .messages = boxes_,
                                              .waiter = wait,
                                              .quit = [this] { ++quits; },
                                              .soundFolders = std::move(soundFolders),
                                              .dealer = fixedDeal(dealSeed, timeOfDay)});
    form_->view()->installEventFilter(this);
    screen_ = QImage(form_->view()->size(), QImage::Format_RGB32);
    form_->Form_Load();
    form_->show();
    QApplication::processEvents();
}

WindowHarness::~WindowHarness() = default;

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
    if (action == "to end") {
        std::vector<std::string> last;
        for (int presses = 0; game().gameOver == OFF && presses <= 81; ++presses) last = step("press best");
        return last;
    }
    const QImage before = screen_;
    const bool music = form_->bgmAction()->isChecked();
    if (action != "open") act(action);
    QApplication::processEvents();
    std::vector<std::string> lines = folded(journal_.since(told_));
    told_ = journal_.events.size();
    if (form_->bgmAction()->isChecked() != music) lines.push_back(music ? "music off" : "music on");
    lines.push_back(stateLine());
    if (const std::string changed = changedParts(before); !changed.empty()) lines.push_back("~ " + changed);
    if (const auto faults = screenFaults(); !faults.empty())
        lines.push_back("!! the window does not show the state: " + joined({faults.begin(), faults.end()}));
    return lines;
}

std::vector<std::string> WindowHarness::screenFaults() const {
    auto faults = oracle::differences(form_->canvas().image(), oracle::expectedWindow(game()));
    for (const std::string& behind : unpainted()) faults.push_back("unpainted " + behind);
    return faults;
}

// The parts of the view whose pixels on the screen are not those of the drawing.
std::vector<std::string> WindowHarness::unpainted() const {
    return oracle::differences(screen_, form_->canvas().image().copy(screen_.rect()));
}

void WindowHarness::act(const std::string& action) {
    const auto space = action.find(' ');
    const std::string verb = action.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : action.substr(space + 1);
    if (verb == "press") return pressAt(rest, Qt::LeftButton, false);
    if (verb == "right-press") return pressAt(rest, Qt::RightButton, false);
    if (verb == "double-click") return pressAt(rest, Qt::LeftButton, true);
    if (verb == "menu") return chooseMenu(rest);
    if (verb == "close") {
        form_->close();
        return;
    }
    if (verb == "key") {
        const Qt::Key key = rest == "Esc" ? Qt::Key_Escape : rest == "F1" ? Qt::Key_F1 : Qt::Key_A;
        QTest::keyClick(form_->view(), key);
        return;
    }
    ADD_FAILURE() << "no such step: " << action;
}

void WindowHarness::pressAt(const std::string& target, Qt::MouseButton button, bool twice) {
    std::optional<Square> square;
    if (target == "best") square = chooseComputerSquare(game());
    if (target == "idle")
        square = firstSquare(game(), [](const Game& g, int x, int y) { return g.board[x][y] > 0; });
    if (target == "empty")
        square = firstSquare(game(), [](const Game& g, int x, int y) { return g.board[x][y] == EMPTY; });
    if (int c, r; std::sscanf(target.c_str(), "%d,%d", &c, &r) == 2) square = Square{c, r};
    QPoint at(3, 3);  // the margin above the upper hand
    if (square) at = (oracle::cellCorner(square->x, square->y) + oracle::cellCorner(square->x + 1, square->y + 1)) / 2;
    else if (target != "margin") ADD_FAILURE() << "no square for " << target;
    if (twice) QTest::mouseDClick(form_->view(), button, {}, at);
    else QTest::mouseClick(form_->view(), button, {}, at);
}

// Follows the captions through the menu bar's real nesting; a caption that is not there, or a
// submenu where a command was meant, is a failure.
void WindowHarness::chooseMenu(const std::string& path) {
    QList<QAction*> actions = form_->menuBar()->actions();
    std::istringstream parts(path);
    std::string caption;
    QAction* chosen = nullptr;
    while (std::getline(parts, caption, '/')) {
        chosen = nullptr;
        for (QAction* action : actions)
            if (action->text().toStdString() == caption) chosen = action;
        if (!chosen) {
            ADD_FAILURE() << "no menu item " << caption << " in " << path;
            return;
        }
        if (chosen->menu()) actions = chosen->menu()->actions();
    }
    if (chosen->menu()) {
        ADD_FAILURE() << path << " opens a submenu";
        return;
    }
    chosen->trigger();
}

// What a pause lets the player see: the chosen square in magenta with the number of squares
// its piece reaches in white, or the frame of the pick-up and on how many squares; and whether
// anything drawn had not reached the screen.
std::string WindowHarness::onScreenDuringWait() const {
    const auto colourAt = [this](int x, int y, QPoint along) {
        return screen_.pixel(oracle::cellCorner(x, y) + along);
    };
    const auto edges = [&](int x, int y, QRgb colour) {
        int count = 0;
        for (const QPoint along : {QPoint(16, 0), QPoint(0, 20)}) count += colourAt(x, y, along) == colour;
        for (const QPoint along : {QPoint(16, 0), QPoint(0, 20)})
            count += colourAt(x + (along.y() ? 1 : 0), y + (along.x() ? 1 : 0), along) == colour;
        return count;
    };
    std::ostringstream seen;
    int reached = 0;
    std::map<std::string, int> frames;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (colourAt(x, y, {16, 0}) == 0xFFFF00FF && colourAt(x, y, {0, 20}) == 0xFFFF00FF)
                seen << " at " << x << "," << y;
            reached += edges(x, y, 0xFFFFFFFF) >= 3;
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
    if (g.sideToMove == SIDE_NONE) line << "no game";
    else line << sideName(g.sideToMove) << " to move";
    line << ", move " << g.moveNumber << " of " << form_->record().lastMoveNumber;
    const auto place = [](const QLabel* icon) {
        return icon->pos() == QPoint(20, 7) ? "upper" : icon->pos() == QPoint(460, 373) ? "lower" : "astray";
    };
    std::string icons;
    for (const auto& [icon, name] : {std::pair{form_->canvas().iconMan(), "man"}, {form_->canvas().iconCom(), "com"}})
        if (!icon->isHidden()) icons += std::string(", ") + name + " " + place(icon);
    line << (icons.empty() ? ", no icon" : icons);
    return line.str();
}

std::string WindowHarness::changedParts(const QImage& before) const {
    std::set<std::string> groups;
    for (const std::string& part : oracle::differences(before, screen_)) groups.insert(groupOf(part));
    return joined(groups);
}

std::vector<std::string> folded(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    int repeats = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 < lines.size() && lines[i + 1] == lines[i]) {
            ++repeats;
            continue;
        }
        out.push_back(repeats > 1 ? lines[i] + " ×" + std::to_string(repeats) : lines[i]);
        repeats = 1;
    }
    return out;
}

}  // namespace quolvet::testing
