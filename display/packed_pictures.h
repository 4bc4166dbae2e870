#pragma once

#include <cstddef>
#include <span>

// The pictures as the build packed them (assets/pack): plain pixels in the program's read-only
// data, painted from where they lie, never decoded and never copied.
namespace quolvet {

struct PackedPicture {
    const char* name;    // as the committed file, without ".png"
    double scale;        // 1, 1.5, 2 or 3 device pixels to a pixel
    int width;           // in device pixels
    int height;
    std::size_t offset;  // of its first pixel in quolvet_picture_pixels
    bool alpha;          // premultiplied ARGB32; otherwise opaque RGB32
};

extern const std::span<const PackedPicture> packedPictures;

}  // namespace quolvet

extern "C" const unsigned char quolvet_picture_pixels[];
