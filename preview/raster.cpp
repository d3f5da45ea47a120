#include "preview/raster.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vx {

namespace {

// Beyond this many pixels from the picture a point is taken as broken input:
// edge sums over such spans would lose all precision in single floats.
constexpr float kReach = 1e6f;

bool drawable(const ScreenPoint& p) {
    return std::isfinite(p.z) && std::fabs(p.x) < kReach && std::fabs(p.y) < kReach;
}

}  // namespace

DepthCanvas makeCanvas(int width, int height, Rgb background) {
    DepthCanvas canvas;
    canvas.image = makeImage(width, height, background);
    canvas.depth.assign(static_cast<std::size_t>(canvas.image.width) * canvas.image.height,
                        -std::numeric_limits<float>::infinity());
    return canvas;
}

void fillTriangle(DepthCanvas& canvas, const ScreenPoint& a, const ScreenPoint& b0, const ScreenPoint& c0, Rgb color) {
    if (!drawable(a) || !drawable(b0) || !drawable(c0)) return;
    ScreenPoint b = b0, c = c0;
    float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    if (!(area > 0)) return;
    const int w = canvas.image.width, h = canvas.image.height;
    // Pixels whose centres may lie inside.
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}) - 0.5f)));
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}) - 0.5f)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}) - 0.5f)));
    const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}) - 0.5f)));
    if (x0 > x1 || y0 > y1) return;

    // Edge functions, each zero on one edge and positive inside; stepping a
    // pixel to the right adds dx, a row down adds dy.
    struct Edge {
        float dx, dy, at;  // at: the value at the first pixel centre of the row
    };
    const auto edge = [&](const ScreenPoint& p, const ScreenPoint& q) {
        const float px = float(x0) + 0.5f, py = float(y0) + 0.5f;
        return Edge{-(q.y - p.y), q.x - p.x, (q.x - p.x) * (py - p.y) - (q.y - p.y) * (px - p.x)};
    };
    Edge ea = edge(b, c), eb = edge(c, a), ec = edge(a, b);  // weights of a, b and c
    const float inverse = 1.0f / area;
    const float za = a.z * inverse, zb = b.z * inverse, zc = c.z * inverse;
    for (int y = y0; y <= y1; ++y) {
        float wa = ea.at, wb = eb.at, wc = ec.at;
        float* depth = canvas.depth.data() + static_cast<std::size_t>(y) * w;
        for (int x = x0; x <= x1; ++x) {
            if (wa >= 0 && wb >= 0 && wc >= 0) {
                const float z = wa * za + wb * zb + wc * zc;
                if (z > depth[x]) {
                    depth[x] = z;
                    std::uint8_t* p = canvas.image.pixels.data() + (static_cast<std::size_t>(y) * w + x) * 3;
                    p[0] = color.r;
                    p[1] = color.g;
                    p[2] = color.b;
                }
            }
            wa += ea.dx;
            wb += eb.dx;
            wc += ec.dx;
        }
        ea.at += ea.dy;
        eb.at += eb.dy;
        ec.at += ec.dy;
    }
}

void fillDot(DepthCanvas& canvas, const ScreenPoint& p, int size, Rgb color) {
    if (!drawable(p)) return;
    size = std::clamp(size, 1, 64);
    const int left = static_cast<int>(std::floor(p.x - float(size) / 2.0f + 0.5f));
    const int top = static_cast<int>(std::floor(p.y - float(size) / 2.0f + 0.5f));
    for (int y = std::max(top, 0); y < std::min(top + size, canvas.image.height); ++y) {
        for (int x = std::max(left, 0); x < std::min(left + size, canvas.image.width); ++x) {
            float& depth = canvas.depth[static_cast<std::size_t>(y) * canvas.image.width + x];
            if (p.z > depth) {
                depth = p.z;
                canvas.image.set(x, y, color);
            }
        }
    }
}

}  // namespace vx
