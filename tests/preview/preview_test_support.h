#pragma once
// Small models written as text: square plates of one colour, read back
// through the reader, and the colours found in a rendered picture.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "mdl/read_mdl.h"
#include "preview/image.h"
#include "preview/view.h"
#include "tests/support/test_support.h"

namespace previewtest {

struct Plate {
    vx::Vec3 centre;
    vx::Vec3 normal;  // the side it is seen from
    vx::Vec3 across;  // half its width, square to the normal
    std::string color = "%255000000";
    bool cullable = true;
};

inline vx::Vec3 cross(const vx::Vec3& a, const vx::Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A PolygonMesh block of one square wound counter-clockwise about its normal.
inline std::string plateBlock(const Plate& p) {
    const vx::Vec3 u = p.across, v = cross(p.normal, p.across);
    std::string out = "\tPolygonMesh\n\t\tFaceColor " + p.color + "\n";
    if (p.cullable) out += "\t\tBackfaceCullable Yes\n";
    out += "\t\tNumVerts 4\n\t\tData\n";
    for (const auto& [a, b] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
        out += "\t\t\t" + std::to_string(p.centre.x + a * u.x + b * v.x) + " " + std::to_string(p.centre.y + a * u.y + b * v.y) +
               " " + std::to_string(p.centre.z + a * u.z + b * v.z) + "\n";
    }
    return out + "\t\tNumPolys 1\n\t\tPolys\n\t\t\t4 0 1 2 3\n\tEndPolygonMesh\n";
}

inline std::string header(vx::ModelType type) {
    std::string axis(vx::axisRotationLine(type));
    return "# Korvan 3D Model file\n" + axis;
}

// A model of one root component holding the plates.
inline std::string platesModel(vx::ModelType type, const std::vector<Plate>& plates) {
    std::string text = header(type) + "Component Plates_ROOT\n\tRoot\n";
    for (const Plate& p : plates) text += plateBlock(p);
    return text + "EndComponent\nBoundRadius 15\n";
}

inline vx::MdlModel read(const std::string& text) {
    vxtest::RecordingSink sink;
    vx::MdlModel model;
    EXPECT_EQ(vx::readMdlText(text, "test.mdl", model, sink), 0) << (sink.messages.empty() ? "" : sink.messages[0].reason);
    return model;
}

// Which colour a pixel mostly is.
inline char hue(vx::Rgb c) {
    if (c.r > 60 && c.g < 20 && c.b < 20) return 'r';
    if (c.g > 60 && c.r < 20 && c.b < 20) return 'g';
    if (c.b > 60 && c.r < 20 && c.g < 20) return 'b';
    return '.';
}

}  // namespace previewtest
