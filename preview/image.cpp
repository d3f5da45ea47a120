#include "preview/image.h"

#include <algorithm>
#include <cstdlib>

namespace vx {

RgbImage makeImage(int width, int height, Rgb fill) {
    RgbImage image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    fillRect(image, 0, 0, image.width, image.height, fill);
    return image;
}

void fillRect(RgbImage& image, int x, int y, int width, int height, Rgb color) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + width, image.width), y1 = std::min(y + height, image.height);
    for (int row = y0; row < y1; ++row)
        for (int col = x0; col < x1; ++col) image.set(col, row, color);
}

void drawLine(RgbImage& image, int x0, int y0, int x1, int y1, Rgb color) {
    // A line is walked pixel by pixel: one far outside the picture is not drawn.
    constexpr int kReach = 1 << 16;
    for (int v : {x0, y0, x1, y1})
        if (v < -kReach || v > kReach) return;
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        image.set(x0, y0, color);
        if (x0 == x1 && y0 == y1) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void blit(RgbImage& to, const RgbImage& from, int x, int y) {
    for (int row = 0; row < from.height; ++row)
        for (int col = 0; col < from.width; ++col) to.set(x + col, y + row, from.at(col, row));
}

}  // namespace vx
