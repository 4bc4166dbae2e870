#pragma once

#include <array>
#include <optional>

#include <QImage>
#include <QPoint>

// Telling which board picture a square of a screen shows. The squares are exact copies of the
// pictures, except for their first pixel row and column, where the outlines are drawn.
namespace quolvet::testing {

class CellPictures {
public:
    CellPictures();

    // The piece code (−8..8, 0 for an empty square) whose picture the 33×41 square with its
    // top-left pixel at `topLeft` shows; none when no picture matches.
    std::optional<int> codeAt(const QImage& screen, QPoint topLeft) const;
    bool shows(const QImage& screen, QPoint topLeft, int code) const;

private:
    std::array<QImage, 17> pictures_;  // by code + 8
};

}  // namespace quolvet::testing
