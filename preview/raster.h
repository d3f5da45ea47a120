#pragma once
// Depth-buffered filling of triangles and dots into an RGB picture: the one
// place the preview turns geometry into pixels. Coordinates are pixels (x to
// the right, y down, pixel centres at .5) with a depth that grows towards the
// viewer. Anything not finite, or far outside the picture, is not drawn.

#include <vector>

#include "preview/image.h"

namespace vx {

struct DepthCanvas {
    RgbImage image;
    std::vector<float> depth;  // one a pixel; -infinity where nothing is drawn yet
};

DepthCanvas makeCanvas(int width, int height, Rgb background);

struct ScreenPoint {
    float x = 0, y = 0, z = 0;
};

// Both windings are filled; culling is the caller's.
void fillTriangle(DepthCanvas& canvas, const ScreenPoint& a, const ScreenPoint& b, const ScreenPoint& c, Rgb color);

// A square dot of `size` pixels centred on the point, at the point's depth.
void fillDot(DepthCanvas& canvas, const ScreenPoint& p, int size, Rgb color);

}  // namespace vx
