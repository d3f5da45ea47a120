#pragma once
// An RGB picture in memory, eight bits a channel, rows from the top, and the
// flat drawing the sheet needs around the rendered views: rectangles, lines
// and copies. Everything drawn is clipped to the picture.

#include <cstdint>
#include <vector>

namespace vx {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 3 bytes

    Rgb at(int x, int y) const {
        const std::uint8_t* p = pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
    void set(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        std::uint8_t* p = pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
};

// A picture of the size filled with one colour (sizes below 0 count as 0).
RgbImage makeImage(int width, int height, Rgb fill);

void fillRect(RgbImage& image, int x, int y, int width, int height, Rgb color);
void drawLine(RgbImage& image, int x0, int y0, int x1, int y1, Rgb color);
// Copies `from` with its top left corner at (x, y).
void blit(RgbImage& to, const RgbImage& from, int x, int y);

}  // namespace vx
