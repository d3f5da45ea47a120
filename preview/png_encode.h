#pragma once
// A picture as the bytes of a PNG file (eight-bit RGB), made with libpng.

#include <string>

#include "preview/image.h"

namespace vx {

// 0 with the file's bytes in `out`, or 1 when libpng gave up (out of memory,
// a picture of no pixels); `out` is then empty.
int encodePng(const RgbImage& image, std::string& out);

}  // namespace vx
