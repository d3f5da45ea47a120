#pragma once
// The LightWave objects the scene and layer-name targets convert, built in
// memory. The seed generator writes the same objects, so the committed seeds
// and the targets agree on layer numbers and names.

#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/support/lwo2_builder.h"

namespace vxfuzz {

// The file name the scene seeds load their layers from.
inline constexpr std::string_view kSceneObjectName = "ship.lwo";

// Four layers whose names carry every kind of articulation code: named
// rotations with ranges, moves, scales, uniform size, an attach point, a
// child layer with its own pivot and a layer without a name.
inline std::vector<std::uint8_t> articulatedObject() {
    using namespace vxtest;
    const Data square = Data().point(-1, 0, -1).point(1, 0, -1).point(1, 0, 1).point(-1, 0, 1);
    const std::vector<std::vector<std::uint32_t>> face = {{0, 1, 2, 3}};
    return form("LWO2", {
        tagsChunk({"Hull", "Panel"}),
        layr(0, "Body@xyzs", 0.5f, 0.25f, -1.0f),
        chunk("PNTS", square), facePols(face), surfPtag({0}),
        layr(1, "Dish@Y(Azimuth)-180_0_180P(Elevation)0_45_90R", 0.0f, 0.5f, 1.0f, 0, 0u),
        chunk("PNTS", square), facePols(face), surfPtag({1}),
        layr(2, "Arm@x(Reach)0_2Sx(Grow)Sy0.5_1SzAp", 1.0f, -2.0f, 3.0f, 0, 1u),
        chunk("PNTS", square), facePols(face), surfPtag({0}),
        layr(3, "", 0, 0, 0, 1),
        chunk("PNTS", square), facePols(face),
        surf("Hull", colr(0.8f, 0.8f, 0.8f)),
        surf("Panel", Data().add(colr(0.1f, 0.1f, 0.5f)).add(cmnt("SolarPanel"))),
    });
}

// A small object whose first layer carries `name` (cut at a NUL, as the file
// would be read) and whose second layer is its child.
inline std::vector<std::uint8_t> namedLayerObject(std::string_view name) {
    using namespace vxtest;
    const Data triangle = Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0);
    const std::vector<std::vector<std::uint32_t>> face = {{0, 1, 2}};
    return form("LWO2", {
        tagsChunk({"Skin"}),
        layr(0, name, 0.25f, 0.5f, 0.75f),
        chunk("PNTS", triangle), facePols(face), surfPtag({0}),
        layr(1, "Tip@Y", 1.0f, 0.0f, 0.0f, 0, 0u),
        chunk("PNTS", triangle), facePols(face), surfPtag({0}),
        surf("Skin", colr(0.5f, 0.5f, 0.5f)),
    });
}

}  // namespace vxfuzz
