#pragma once
// A five-by-seven pixel font for the labels of a preview sheet: printable
// ASCII, anything else drawn as "?". Each character takes six pixels across
// and eight down (times the scale), its spacing included.

#include <string_view>

#include "preview/image.h"

namespace vx {

inline constexpr int kGlyphAdvance = 6;
inline constexpr int kGlyphHeight = 8;

// Draws with the top left corner of the first character at (x, y).
void drawText(RgbImage& image, int x, int y, std::string_view text, Rgb color, int scale = 1);
int textWidth(std::string_view text, int scale = 1);
// As much of the start of `text` as fits in `width` pixels.
std::string_view fitText(std::string_view text, int width, int scale = 1);

}  // namespace vx
