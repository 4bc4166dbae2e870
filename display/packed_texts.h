#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <QSize>

class QColor;
class QPainter;
class QPoint;
class QString;

// The texts of play as the build set them (assets/pack/pack_texts.cpp): for each size, device
// resolution and half-pixel phase, the runs of device pixels a text inks, so that printing one
// needs neither the font nor its glyphs at start-up.
namespace quolvet {

struct InkRun {
    int16_t y;  // device pixels from where the text's top-left corner falls
    int16_t x;
    int16_t length;
};

struct PackedText {
    char text[8];      // UTF-8, held in place: a table of pointers would be relocated, and so
                       // written over, by the loader at every start
    int points;
    double scale;      // device pixels to a pixel: 1, 1.5, 2 or 3
    int phaseX;        // at a scale of a half, whether the corner's pixel column and row are odd
    int phaseY;
    int advance;       // the box setText answers, in pixels
    int height;
    int firstRun;      // in packedInkRuns
    int runs;
};

// In the order of (scale, phaseX, phaseY, points, text bytes); none when the build had no Mincho face.
extern const std::span<const PackedText> packedTexts;
extern const std::span<const InkRun> packedInkRuns;
extern const char* const packedTextFace;  // the Mincho face they were set in

// Inks a bold text of play as setText would in `face`, straight into the image the painter draws
// on, and answers its box; nothing when it was not packed for this face, size and ratio, or the
// painter clips, turns or scales.
std::optional<QSize> inkPackedText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& colour,
                                   int points, double ratio, const QString& face);

}  // namespace quolvet
