#pragma once

#include <QFont>
#include <QString>

// How the window's own texts look and read: labels, hand counts, the move counter.
namespace quolvet {

// A number as the window prints it. Mode 0: the sign place (a blank unless negative), the
// digits, one trailing blank. Any other mode: the kanji numeral 一..九, nothing otherwise.
QString printedNumber(int value, int mode);

// The caption of a text code: 99 is "手目"; other codes have none.
QString caption(int code);

// The Japanese serif face at `points` (taken at 96 dots per inch whatever the screen says).
QFont textFont(int points, bool bold);

}  // namespace quolvet
