#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QColor;
class QPainter;
class QPoint;

// How the window's own texts look and read: labels, hand counts, the move counter.
namespace quolvet {

// A number as the window prints it. Mode 0: the sign place (a blank unless negative), the
// digits, one trailing blank. Any other mode: the kanji numeral 一..九, nothing otherwise.
QString printedNumber(int value, int mode);

// The caption of a text code: 99 is "手目"; other codes have none.
QString caption(int code);

// The Japanese serif face at `points` (taken at 96 dots per inch whatever the screen says).
QFont textFont(int points, bool bold);

// The Mincho face the texts are set in, or none; says once what to install when no Japanese face
// is there at all.
QString installedMincho();

// Sets `text` in the face with its top-left at `topLeft` (pixels), its glyphs at the device's
// resolution `ratio`. Answers its box: advance and line height, in pixels.
QSize setText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& colour, int points, bool bold,
              double ratio);

}  // namespace quolvet
