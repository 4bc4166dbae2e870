#pragma once

#include <array>
#include <functional>

#include <QImage>
#include <QRegion>

#include "game.h"
#include "geometry.h"
#include "palette.h"

class QLabel;
class QPainter;
class QWidget;

namespace quolvet {

// Everything drawn on the window lives in one persistent image: nothing is ever cleared,
// old drawing is only painted over. The drawing procedures read the game, never change it,
// and none of them refreshes the screen: callers refresh when they want a result seen.
//
// The image is kept at the screen's device pixel ratio, and every procedure draws in the same
// pixels and twips at any ratio: pictures drawn for the ratio and outlines land on whole device
// pixels (geometry::toDevice), texts are set at the device's resolution.
class Canvas {
public:
    explicit Canvas(const Game& game, double ratio = 1);
    ~Canvas();

    const QImage& image() const { return image_; }
    double devicePixelRatio() const { return ratio_; }
    // A new image for a screen of another ratio, with the pictures and icons drawn for it. The
    // image is then plain background: the caller draws everything again.
    void setDevicePixelRatio(double ratio);
    // Where the two turn icons stand, in pixels of the image.
    static QPoint upperIconPlace();
    static QPoint lowerIconPlace();

    // The widget that shows the image and carries the two turn icons. Without one
    // (headless tests) drawing still happens and refresh only tells the observer.
    void attach(QWidget* view);
    QLabel* iconMan() const { return iconMan_; }
    QLabel* iconCom() const { return iconCom_; }

    // Shows the image on screen now, before the caller goes on (or waits).
    void refresh();
    // Seams: how 待ち時間 waits (default: sleep on a monotonic clock, taking no input),
    // and who hears of each refresh (tests record frames there).
    void setWaiter(std::function<void(double seconds)> waiter);
    void setRefreshObserver(std::function<void()> observer);

    void 描画_絵(int code, double column, double row);
    // The whole drawing area in background tiles.
    void tileBackground();
    // Labels, hands, board and counter as the game holds them.
    void drawPosition();
    void 描画_盤();
    void 描画_将棋盤桝();
    void 描画_敵持駒(int k);
    void 描画_自持駒(int k);
    void 描画_勢力範囲();  // every empty square repainted empty with the grid outline

    void 描画_数値(double column, double row, int value, int colour, int mode, int size);
    void 描画_文字列(double column, double row, int code, int colour, int size);
    void 描画_桝_数値();
    void 描画_手数(int count);

    void 描画_桝輪郭(int colour, double column, double row);
    void 描画_移動可能桝(int x, int y);
    void 描画_アイコン();
    void 消去_アイコン();
    void 待ち時間(double seconds);

    // The pick-up animation on every square of game.removeMark: medium piece, small piece,
    // large burst, small burst, each outlined, refreshed and held 0.1 s.
    void animatePickUp();
    // After the pieces have gone: the marked squares as empty wood with their outline.
    void drawMarkedSquaresEmpty();

private:
    void paintPicture(QPainter& painter, int code, double column, double row);
    void paintOutline(QPainter& painter, int colour, double column, double row);
    void printNumber(QPainter& painter, double column, double row, int value, int colour, int mode,
                     int size);
    void printCaption(QPainter& painter, double column, double row, int code, int colour, int size);
    void printAt(QPainter& painter, double x, double y, const QString& text, int colour,
                 int size);
    void paintHandCell(QPainter& painter, int count, int k, double column, double row);
    void printHandCount(QPainter& painter, int count, double column, double row);
    void printCounter(QPainter& painter, int count, bool withCaption = true);
    QRegion counterArea();
    void loadPictures();
    QImage& devicePixels();
    void paintMarkedSquares(int code);  // each square of removeMark, outlined
    void changed();
    void markIcons();


    const Game& game_;
    double ratio_ = 1;
    std::array<QImage, 24> pictures_;  // by picture code + 8: −8..15, drawn for ratio_
    std::array<QSize, 24> pictureSizes_;  // in pixels
    QImage image_;
    QImage pixels_;  // image_'s pixels, one device pixel to a unit; keeps its paint engine
    QWidget* view_ = nullptr;
    QLabel* iconMan_ = nullptr;
    QLabel* iconCom_ = nullptr;
    bool bold_ = false;
    bool counterDrawn_ = false;
    QRegion dirty_;  // drawn since the last refresh
    std::function<void(double)> waiter_;
    std::function<void()> refreshObserver_;
};

}  // namespace quolvet
