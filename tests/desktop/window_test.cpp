#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "board_view.h"
#include "computer.h"
#include "form1.h"

namespace quolvet::testing {
namespace {

// Whether each picture the window's thread shows before a pause has reached the compositor, which
// logs every request it gets to the file named here. Nothing reaches it during the pause itself: the
// window's thread sends nothing while it sleeps.
struct CompositorWatch {
    const char* log = std::getenv("QUOLVET_COMPOSITOR_LOG");
    int pauses = 0, unseen = 0;
    size_t commitsSeen = 0;

    size_t commits() const {
        std::ifstream in(log);
        std::string line, client;
        size_t count = 0;
        while (std::getline(in, line)) {
            if (client.empty() && line.find("set_title(\"Quolvet\")") != std::string::npos)
                client = line.substr(line.find("client "), line.find(" rq ") - line.find("client "));
            count += !client.empty() && line.find(client + " rq wl_surface@") != std::string::npos && line.find(".commit(") != std::string::npos;
        }
        return count;
    }
    void beforePause() {
        size_t now = commits();
        for (int tries = 0; tries < 200 && now <= commitsSeen; ++tries, now = commits()) {
            const timespec moment{0, 10'000'000};
            clock_nanosleep(CLOCK_MONOTONIC, 0, &moment, nullptr);
        }
        ++pauses;
        unseen += now <= commitsSeen;
        commitsSeen = now;
    }
} compositor;

// Stands in for a desktop's global menu, which a window would hand its menu bar over to.
struct GlobalMenuRegistrar final : QDBusVirtualObject {
    int windowsHandedOver = 0;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        windowsHandedOver += message.member() == QLatin1String("RegisterWindow");
        return bus.send(message.createReply());
    }
} registrar;

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<Form1>(Form1Seams{.sound = sound, .messages = boxes, .waiter = {},
                                                  .quit = [this] { ++quits; }, .soundFolders = {}, .dealer = {}});
        boxes.setParent(form.get());
        form->Form_Load();
        form->show();
        form->activateWindow();  // no window manager gives it the keyboard
        QTest::qWait(50);
        // Real boxes, each answered with its OK button as soon as it is up.
        QObject::connect(&closer, &QTimer::timeout, [this] {
            for (QWidget* box; (box = QApplication::activeModalWidget()); ++boxesShown) {
                QTest::keyClick(box, Qt::Key_Return);
                QApplication::processEvents();
            }
        });
        closer.start(50);
    }
    void TearDown() override { form->OWARI_Click(); }  // the sound library ends only when told
    // A piece that picks something up, as a point of the view.
    QPoint movablePiece() const {
        const auto [x, y] = chooseComputerSquare(form->game()).value_or(Square{});
        return geometry::gridToPixel(x + 0.5, y + 0.5);
    }
    QMouseEvent* mouse(QEvent::Type type) const {
        return new QMouseEvent(type, movablePiece(), movablePiece(), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    }

    SystemSoundLibrary sound;
    QtMessageBoxes boxes;
    QTimer closer;
    int boxesShown = 0;
    int quits = 0;
    std::unique_ptr<Form1> form;
};

TEST_F(Window, MenusStayInTheWindowWithTheMusicMarkedOnlyWhenOn) {
    EXPECT_EQ(registrar.windowsHandedOver, 0);
    QMenuBar* bar = form->menuBar();
    for (QAction* action : bar->actions()) EXPECT_TRUE(bar->rect().contains(bar->actionGeometry(action)));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());

    for (bool on : {false, true, false, true}) {
        on ? form->Form_KeyDown(112) : form->bgmAction()->trigger();
        EXPECT_EQ(std::pair(form->bgmAction()->isChecked(), form->bgmAction()->isCheckable()), std::pair(on, on))
            << "checkable but unchecked, it shows an empty box";
    }
}

TEST_F(Window, ADoubleClickIsOnePressAndNothingQueuedBehindEscIsHandled) {
    form->START_Click();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick})
        QApplication::sendEvent(form->view(), std::unique_ptr<QMouseEvent>(mouse(type)).get());
    EXPECT_EQ(form->game().moveNumber, 1);
    EXPECT_EQ(boxesShown, 1) << "a second press was refused after the greeting";

    QApplication::postEvent(form.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QApplication::postEvent(form->view(), mouse(QEvent::MouseButtonPress));
    QTest::qWait(50);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(form->game().moveNumber, 1);
}

// With no window manager the keyboard falls to the root when a box closes: the board takes it
// back, as it has it when a game starts.
TEST_F(Window, TheBoardHasTheKeyboardAfterEveryBox) {
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->isActiveWindow(); }));
    for (const auto command : {&Form1::START_Click, &Form1::REPLAY_Click}) {
        (form.get()->*command)();
        EXPECT_TRUE(QTest::qWaitFor([this] { return form->isActiveWindow() && form->view()->hasFocus(); }));
    }
    EXPECT_EQ(boxesShown, 2);
}

// Run on a Wayland compositor by a script: the computer's choice and the four frames of its pick-up.
TEST_F(Window, EachPictureOfAComputerMoveReachesTheCompositorBeforeItsPause) {
    if (!compositor.log) GTEST_SKIP() << "for Wayland";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->GOTE_Click();
    EXPECT_EQ(std::pair(compositor.pauses, compositor.unseen), std::pair(5, 0));
}

// Whatever count it follows, the counter shows what a first counter shows, on top of the lower
// hand's count of kind 2 beside it, which stays whole (80 reaches furthest).
TEST(Counter, EveryChangeLeavesWhatAFirstCounterShows) {
    const QRect area(geometry::gridToPixel(12, 3), geometry::gridToPixel(15, 4));
    Game game;
    game.ownHand[2] = 80;
    const auto fresh = [&] {
        auto canvas = std::make_unique<Canvas>(game);
        canvas->描画_桝_数値();
        for (int column = 11; column <= 15; ++column) canvas->描画_絵(PIC_BACKGROUND, column, 3);
        canvas->描画_自持駒(2);
        return canvas;
    };
    std::vector<QImage> first;
    for (int m = 0; m <= 80; ++m) {
        const auto canvas = fresh();
        canvas->描画_手数(m);
        first.push_back(canvas->image().copy(area));
    }
    const auto canvas = fresh();
    for (int change = 0; change < 81 * 81; ++change) {
        canvas->描画_手数(change / 81);
        canvas->描画_手数(change % 81);
        if (canvas->image().copy(area) != first[change % 81])
            return (void)(ADD_FAILURE() << change / 81 << " then " << change % 81);
    }
}

}  // namespace
}  // namespace quolvet::testing

// The window's pauses sleep here; the test's own short waits do not count.
extern "C" int nanosleep(const timespec* length, timespec* left) {
    if (quolvet::testing::compositor.log && gettid() == getpid() && (length->tv_sec > 0 || length->tv_nsec >= 50'000'000))
        quolvet::testing::compositor.beforePause();
    return clock_nanosleep(CLOCK_REALTIME, 0, length, left);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // On the bus before the first menu bar asks whether there is a global menu.
    if (!QDBusConnection::sessionBus().registerService(QStringLiteral("com.canonical.AppMenu.Registrar")) ||
        !QDBusConnection::sessionBus().registerVirtualObject(QStringLiteral("/com/canonical/AppMenu/Registrar"), &quolvet::testing::registrar))
        return std::puts("no session bus to stand a global menu on"), 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
