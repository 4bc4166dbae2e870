#pragma once

#include <QImage>
#include <QString>

// The bitmaps the window paints from, compiled in as Qt resources under ":/assets/".
namespace quolvet {

// The resource path of the bitmap a picture code paints, or an empty string for a code
// that has none (9, and anything outside −8..8 and 10..15).
QString picturePath(int code);

// The bitmap of a picture code in the canvas's pixel format; a null image when the code has
// none or the resource cannot be read.
QImage loadPicture(int code);

// The turn icons, drawn over the board, never painted into it.
inline constexpr const char* iconManPath = ":/assets/ICO_MAN.png";
inline constexpr const char* iconComPath = ":/assets/ICO_COM.png";

// Makes the compiled-in pictures reachable; safe to call any number of times.
void initDisplayResources();

}  // namespace quolvet
