// The yardstick for the game's start-up and memory: the least a Qt window with a menu bar and
// an open audio device costs. It loads nothing and draws nothing of its own.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

namespace {

// Same size as the game's window, so the window system and the painter do the same work.
constexpr int width = 567;
constexpr int height = 540;

class AudioDevice {
public:
    AudioDevice() {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            std::fprintf(stderr, "bare_window: no audio (%s)\n", SDL_GetError());
            return;
        }
        open_ = Mix_OpenAudio(44100, AUDIO_S16SYS, 1, 1024) == 0;
        if (!open_) std::fprintf(stderr, "bare_window: no audio device (%s)\n", Mix_GetError());
    }
    ~AudioDevice() {
        if (open_) Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

private:
    bool open_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AudioDevice audio;

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare_window"));
    QMenuBar* bar = window.menuBar();
    QMenu* game = bar->addMenu(QStringLiteral("対局"));
    game->addAction(QStringLiteral("スタート"));
    QObject::connect(game->addAction(QStringLiteral("終わり")), &QAction::triggered, &app, &QApplication::quit);
    bar->addMenu(QStringLiteral("局面"))->addAction(QStringLiteral("最初"));
    bar->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ"))->addAction(QStringLiteral("BGM"))->setCheckable(true);
    bar->addAction(QStringLiteral("その他"));

    auto* plain = new QWidget;
    plain->setAutoFillBackground(true);
    window.setCentralWidget(plain);
    window.resize(width, height);
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
