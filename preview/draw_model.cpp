#include "preview/draw_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "preview/bitmap_font.h"

namespace vx {

namespace {

// Light from above left of the viewer, in view coordinates (right, up, toward).
constexpr float kLight[3] = {-0.4f, 0.5f, 0.768f};
constexpr float kAmbient = 0.28f;
constexpr float kDiffuse = 0.72f;
constexpr Rgb kAttachColor{255, 214, 64};

Rgb shade(Rgb c, float intensity) {
    const auto scale = [intensity](std::uint8_t v) {
        return static_cast<std::uint8_t>(std::clamp(float(v) * intensity + 0.5f, 0.0f, 255.0f));
    };
    return {scale(c.r), scale(c.g), scale(c.b)};
}

Rgb brighter(Rgb a, Rgb b) { return {std::max(a.r, b.r), std::max(a.g, b.g), std::max(a.b, b.b)}; }

// The view's rows applied after the placement: contents to view coordinates.
Affine viewAffine(const ViewFrame& f, const Affine& toWorld) {
    Affine v;
    const Vec3 rows[3] = {f.right, f.up, f.toward};
    for (int i = 0; i < 3; ++i) {
        v.m[i][0] = rows[i].x;
        v.m[i][1] = rows[i].y;
        v.m[i][2] = rows[i].z;
        v.m[i][3] = 0;
    }
    return compose(v, toWorld);
}

ScreenPoint toScreen(const ViewFit& f, const Point3& p) {
    return {static_cast<float>(f.halfWidth + (p.x - f.centreX) * f.scale),
            static_cast<float>(f.halfHeight - (p.y - f.centreY) * f.scale), static_cast<float>(p.z * f.scale)};
}

// toScreen as an affine map, to follow the view's.
Affine screenAffine(const ViewFit& f) {
    Affine a;
    a.m[0][0] = f.scale;
    a.m[0][3] = f.halfWidth - f.centreX * f.scale;
    a.m[1][1] = -f.scale;
    a.m[1][3] = f.halfHeight + f.centreY * f.scale;
    a.m[2][2] = f.scale;
    return a;
}

// Whether any pixel centre lies within the span of the coordinates: most
// triangles of a dense model in a small frame cover none.
bool coversPixel(float low, float high) { return std::ceil(low - 0.5f) <= std::floor(high - 0.5f); }

}  // namespace

ViewFit fitView(const MdlModel& model, const std::vector<PlacedComponent>& placed, const ViewFrame& frame, int width,
                int height) {
    double minX = std::numeric_limits<double>::infinity(), maxX = -minX, minY = minX, maxY = maxX;
    const auto add = [&](const Point3& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        minX = std::min(minX, double(p.x));
        maxX = std::max(maxX, double(p.x));
        minY = std::min(minY, double(p.y));
        maxY = std::max(maxY, double(p.y));
    };
    for (const PlacedComponent& at : placed) {
        const MdlComponent& c = model.components[at.component];
        const Affine m = viewAffine(frame, at.toWorld);
        for (const MdlMesh& mesh : c.meshes)
            for (const Point3& p : mesh.vertices) add(apply(m, p));
        if (c.attach) add(apply(m, Point3{}));
    }
    ViewFit f;
    f.halfWidth = width / 2.0;
    f.halfHeight = height / 2.0;
    if (!(minX <= maxX)) return f;  // nothing to fit
    f.centreX = (minX + maxX) / 2;
    f.centreY = (minY + maxY) / 2;
    constexpr double kRoom = 0.84;
    const double spanX = maxX - minX, spanY = maxY - minY;
    double scale = std::numeric_limits<double>::infinity();
    if (spanX > 0) scale = std::min(scale, width * kRoom / spanX);
    if (spanY > 0) scale = std::min(scale, height * kRoom / spanY);
    // A single point, or spans beyond what a double can divide: any scale
    // puts the centre in the middle.
    f.scale = std::isfinite(scale) && scale > 0 ? std::min(scale, 1e30) : 1.0;
    return f;
}

namespace {

// A polygon's normal in pixels (a cross product for a triangle, Newell's sum
// for larger polygons, which need not be quite flat) and its screen bounds.
struct FaceSpan {
    float nx = 0, ny = 0, nz = 0;
    float lowX = 0, highX = 0, lowY = 0, highY = 0;
};

FaceSpan faceSpan(const std::vector<ScreenPoint>& screen, std::span<const std::uint32_t> poly) {
    FaceSpan f;
    f.lowX = f.highX = screen[poly[0]].x;
    f.lowY = f.highY = screen[poly[0]].y;
    if (poly.size() == 3) {
        const ScreenPoint &a = screen[poly[0]], &b = screen[poly[1]], &c = screen[poly[2]];
        const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
        const float wx = c.x - a.x, wy = c.y - a.y, wz = c.z - a.z;
        f = {uy * wz - uz * wy, uz * wx - ux * wz, ux * wy - uy * wx, std::min({a.x, b.x, c.x}),
             std::max({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y})};
        return f;
    }
    double sx = 0, sy = 0, sz = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const ScreenPoint &a = screen[poly[i]], &b = screen[poly[i + 1 < poly.size() ? i + 1 : 0]];
        sx += (double(a.y) - b.y) * (double(a.z) + b.z);
        sy += (double(a.z) - b.z) * (double(a.x) + b.x);
        sz += (double(a.x) - b.x) * (double(a.y) + b.y);
        f.lowX = std::min(f.lowX, a.x);
        f.highX = std::max(f.highX, a.x);
        f.lowY = std::min(f.lowY, a.y);
        f.highY = std::max(f.highY, a.y);
    }
    f.nx = float(sx), f.ny = float(sy), f.nz = float(sz);
    return f;
}

// One polygon, flat shaded; nothing when it is culled, degenerate or lies
// between pixel centres.
void drawPolygon(const std::vector<ScreenPoint>& screen, std::span<const std::uint32_t> poly, const MdlSurface& s,
                 Rgb base, Rgb glow, DepthCanvas& canvas) {
    // Most triangles of a dense model in a small frame lie between pixel
    // centres: that is found before any normal is worked out.
    if (poly.size() == 3) {
        const ScreenPoint &a = screen[poly[0]], &b = screen[poly[1]], &c = screen[poly[2]];
        if (!coversPixel(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x})) ||
            !coversPixel(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y})))
            return;
    }
    const FaceSpan f = faceSpan(screen, poly);
    // Pixels run down the screen: in view coordinates the normal is
    // (-nx, ny, -nz), and it faces the viewer when -nz > 0.
    float vx = -f.nx, vy = f.ny, vz = -f.nz;
    if (!(vz > 0)) {
        if (s.backfaceCullable) return;
        vx = -vx, vy = -vy, vz = -vz;
    }
    if (!coversPixel(f.lowX, f.highX) || !coversPixel(f.lowY, f.highY)) return;
    const float length = std::sqrt(vx * vx + vy * vy + vz * vz);
    if (!(length > 0) || !std::isfinite(length)) return;
    float lit = (vx * kLight[0] + vy * kLight[1] + vz * kLight[2]) / length;
    lit = s.diffuseLighting ? std::max(lit, 0.0f) : 0.0f;
    const Rgb color = brighter(shade(base, kAmbient + kDiffuse * lit), glow);
    for (std::size_t i = 1; i + 1 < poly.size(); ++i)
        fillTriangle(canvas, screen[poly[0]], screen[poly[i]], screen[poly[i + 1]], color);
}

// `screen` is scratch room for the mesh's points in pixels, kept between meshes.
void drawMesh(const MdlMesh& mesh, const Affine& m, const ViewFit& fit, const MdlPose& pose,
              std::vector<ScreenPoint>& screen, DepthCanvas& canvas) {
    const std::size_t n = mesh.vertices.size();
    screen.resize(n);
    // Contents straight to pixels in single precision, one product a point:
    // the sum of the placement, the view and the fit.
    const Affine d = compose(screenAffine(fit), m);
    float t[3][4];
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 4; ++k) t[r][k] = static_cast<float>(d.m[r][k]);
    for (std::size_t i = 0; i < n; ++i) {
        const Point3& p = mesh.vertices[i];
        screen[i] = {t[0][0] * p.x + t[0][1] * p.y + t[0][2] * p.z + t[0][3],
                     t[1][0] * p.x + t[1][1] * p.y + t[1][2] * p.z + t[1][3],
                     t[2][0] * p.x + t[2][1] * p.y + t[2][2] * p.z + t[2][3]};
    }
    const MdlSurface& s = mesh.surface;
    const Rgb base = surfaceColor(s, pose);
    const Rgb glow = !s.emissive ? Rgb{} : s.emissionColor ? clampedRgb(*s.emissionColor) : base;
    if (mesh.pointBlock) {
        for (const ScreenPoint& p : screen) fillDot(canvas, p, std::max(mesh.pointSize, 2), brighter(base, glow));
        return;
    }
    for (std::size_t k = 0; k < mesh.polygonCount(); ++k) {
        const std::span<const std::uint32_t> poly = mesh.polygon(k);
        if (poly.size() < 3) continue;
        if (std::any_of(poly.begin(), poly.end(), [n](std::uint32_t i) { return i >= n; })) continue;
        drawPolygon(screen, poly, s, base, glow, canvas);
    }
}

}  // namespace

void drawModel(const MdlModel& model, const std::vector<PlacedComponent>& placed, const MdlPose& pose,
               const ViewFrame& frame, const ViewFit& fit, DepthCanvas& canvas) {
    std::vector<ScreenPoint> screen;
    std::vector<ScreenPoint> attach;
    for (const PlacedComponent& at : placed) {
        const MdlComponent& c = model.components[at.component];
        const Affine m = viewAffine(frame, at.toWorld);
        if (c.attach) attach.push_back(toScreen(fit, apply(m, Point3{})));
        for (const MdlMesh& mesh : c.meshes) drawMesh(mesh, m, fit, pose, screen, canvas);
    }
    for (const ScreenPoint& s : attach) {
        if (!std::isfinite(s.x) || !std::isfinite(s.y) || std::fabs(s.x) > 1e5f || std::fabs(s.y) > 1e5f) continue;
        const int x = static_cast<int>(s.x), y = static_cast<int>(s.y);
        drawLine(canvas.image, x - 4, y, x + 4, y, kAttachColor);
        drawLine(canvas.image, x, y - 4, x, y + 4, kAttachColor);
    }
}

void drawAxisTriad(RgbImage& image, const ViewFrame& frame, int x, int y, int length) {
    struct Arm {
        Vec3 axis;
        char label;
        Rgb color;
    };
    Arm arms[3] = {{{1, 0, 0}, 'x', {235, 80, 70}}, {{0, 1, 0}, 'y', {90, 210, 90}}, {{0, 0, 1}, 'z', {90, 140, 255}}};
    // Farthest first, so the arm towards the viewer is drawn over the others.
    std::sort(std::begin(arms), std::end(arms),
              [&](const Arm& a, const Arm& b) { return dot(a.axis, frame.toward) < dot(b.axis, frame.toward); });
    for (const Arm& arm : arms) {
        const double dx = dot(arm.axis, frame.right), dy = -dot(arm.axis, frame.up);
        const int ex = x + static_cast<int>(std::lround(dx * length)), ey = y + static_cast<int>(std::lround(dy * length));
        drawLine(image, x, y, ex, ey, arm.color);
        drawLine(image, x + 1, y, ex + 1, ey, arm.color);
        // The label beyond the arm's end, or beside the origin when the axis
        // points at the viewer or away.
        const double reach = std::hypot(dx, dy);
        const int lx = reach > 0.2 ? ex + static_cast<int>(std::lround(dx / reach * 6)) - 2 : x + 4;
        const int ly = reach > 0.2 ? ey + static_cast<int>(std::lround(dy / reach * 6)) - 3 : y - 10;
        const char text[2] = {arm.label, '\0'};
        drawText(image, lx, ly, text, arm.color);
    }
}

}  // namespace vx
