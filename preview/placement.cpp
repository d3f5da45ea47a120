#include "preview/placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vx {

namespace {

// A translation sets the last column, a scaling the diagonal.
Affine translation(double x, double y, double z) {
    Affine a;
    for (int i = 0; const double v : {x, y, z}) a.m[i++][3] = v;
    return a;
}

Affine scaling(double x, double y, double z) {
    Affine a;
    for (int i = 0; const double v : {x, y, z}) {
        a.m[i][i] = v;
        ++i;
    }
    return a;
}

// Right-handed: a positive angle turns y towards z about x, z towards x
// about y and x towards y about z.
Affine rotation(int axis, double degrees) {
    const double r = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(r), s = std::sin(r);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    Affine a;
    a.m[i][i] = c;
    a.m[i][j] = -s;
    a.m[j][i] = s;
    a.m[j][j] = c;
    return a;
}

Affine stepAffine(const MdlStep& s) {
    if (s.kind == MdlStep::Translate) return translation(s.x, s.y, s.z);
    return compose(rotation(2, s.z), compose(rotation(1, s.y), rotation(0, s.x)));
}

Affine stepsAffine(const std::vector<MdlStep>& steps) {
    Affine a;
    for (const MdlStep& s : steps) a = compose(stepAffine(s), a);
    return a;
}

Affine transformationAffine(MdlTransformKind kind, double v) {
    switch (kind) {
        case MdlTransformKind::UniformScale: return scaling(v, v, v);
        case MdlTransformKind::XRotate: return rotation(0, v);
        case MdlTransformKind::YRotate: return rotation(1, v);
        case MdlTransformKind::ZRotate: return rotation(2, v);
        case MdlTransformKind::XTranslate: return translation(v, 0, 0);
        case MdlTransformKind::YTranslate: return translation(0, v, 0);
        case MdlTransformKind::ZTranslate: return translation(0, 0, v);
        case MdlTransformKind::XScale: return scaling(v, 1, 1);
        case MdlTransformKind::YScale: return scaling(1, v, 1);
        case MdlTransformKind::ZScale: return scaling(1, 1, v);
        default: return Affine{};  // texture and colour transformations move nothing
    }
}

Affine articulationAffine(const MdlArticulation& articulation, const MdlPose& pose) {
    Affine a;
    for (const MdlTransformation& t : articulation.transformations)
        a = compose(transformationAffine(t.kind, transformationValue(t, articulation.name, pose)), a);
    return a;
}

std::size_t geometrySize(const MdlComponent& c) {
    std::size_t n = 1;  // a component without geometry still costs its visit
    for (const MdlMesh& m : c.meshes) n += m.vertices.size() + m.indices.size();
    return n;
}

}  // namespace

Affine compose(const Affine& outer, const Affine& inner) {
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double v = j == 3 ? outer.m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k) v += outer.m[i][k] * inner.m[k][j];
            r.m[i][j] = v;
        }
    }
    return r;
}

Point3 apply(const Affine& a, const Point3& p) {
    const double x = p.x, y = p.y, z = p.z;
    return {static_cast<float>(a.m[0][0] * x + a.m[0][1] * y + a.m[0][2] * z + a.m[0][3]),
            static_cast<float>(a.m[1][0] * x + a.m[1][1] * y + a.m[1][2] * z + a.m[1][3]),
            static_cast<float>(a.m[2][0] * x + a.m[2][1] * y + a.m[2][2] * z + a.m[2][3])};
}

int placeModel(const MdlModel& model, const MdlPose& pose, std::vector<PlacedComponent>& placed, std::string& why) {
    placed.clear();
    const std::size_t count = model.components.size();
    if (model.root < 0 || static_cast<std::size_t>(model.root) >= count) return 0;
    std::size_t own = 0;
    for (const MdlComponent& c : model.components) own += geometrySize(c);
    const std::size_t budget = 8 * own + (1u << 16);
    std::size_t spent = 0;

    // Walked with a stack of its own: chains may be as deep as the model is long.
    // Each placement is paid for when it is taken on, so the stack stays
    // within the budget too.
    std::vector<PlacedComponent> stack;
    const std::size_t root = static_cast<std::size_t>(model.root);
    stack.push_back({root, stepsAffine(model.components[root].steps)});
    spent += geometrySize(model.components[root]);
    while (!stack.empty()) {
        const PlacedComponent at = stack.back();
        stack.pop_back();
        const MdlComponent& c = model.components[at.component];
        placed.push_back(at);
        for (const MdlRefer& r : c.refers) {
            if (r.target < 0 || static_cast<std::size_t>(r.target) >= count) continue;
            const MdlComponent& child = model.components[static_cast<std::size_t>(r.target)];
            spent += geometrySize(child);
            if (spent > budget) {
                placed.clear();
                why = "The model's references place its components too many times to draw.";
                return 1;
            }
            Affine m = compose(at.toWorld, stepsAffine(r.steps));
            if (r.articulation) m = compose(m, articulationAffine(*r.articulation, pose));
            stack.push_back({static_cast<std::size_t>(r.target), compose(m, stepsAffine(child.steps))});
        }
    }
    return 0;
}

Rgb surfaceColor(const MdlSurface& surface, const MdlPose& pose) {
    int levels[3] = {surface.faceColor.red, surface.faceColor.green, surface.faceColor.blue};
    if (surface.colorArticulation) {
        for (const MdlTransformation& t : surface.colorArticulation->transformations) {
            const int channel = t.kind == MdlTransformKind::RedColor     ? 0
                                : t.kind == MdlTransformKind::GreenColor ? 1
                                : t.kind == MdlTransformKind::BlueColor  ? 2
                                                                         : -1;
            if (channel < 0) continue;
            const double v = transformationValue(t, surface.colorArticulation->name, pose);
            levels[channel] = static_cast<int>(std::clamp(v, -1.0, 1000.0));
        }
    }
    return clampedRgb({levels[0], levels[1], levels[2]});
}

Rgb clampedRgb(const MdlColor& c) {
    const auto level = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return {level(c.red), level(c.green), level(c.blue)};
}

}  // namespace vx
