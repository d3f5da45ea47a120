#pragma once
// The LightWave objects the scene and layer-name targets convert, built in
// memory. The seed generator writes the same objects, so the committed seeds
// and the targets agree on layer numbers and names.

#include <cstdint>
#include <cstdlib>
#include <string>
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

// namedLayerObject for one name after another without building each object
// afresh, which costs more than converting it: the object is built once
// around an empty name, and each name is set into a copy the way the builder
// writes it (its bytes, a NUL, a pad byte to an even length), with the sizes
// of the layer and the form grown to match.
class NamedLayerObjects {
public:
    NamedLayerObjects() {
        const std::vector<std::uint8_t> empty = namedLayerObject("");
        const std::string bytes(empty.begin(), empty.end());
        // FORM, its size and type, then TAGS, then the LAYR chunk of the name.
        const std::size_t layer = 12 + 8 + loadSize(bytes, 16);
        if (bytes.compare(layer, 4, "LAYR") != 0 || loadSize(bytes, layer + 4) != kFixed + 2) std::abort();
        head_ = bytes.substr(0, layer);
        fixed_ = bytes.substr(layer + 8, kFixed);
        tail_ = bytes.substr(layer + 8 + kFixed + 2);
        for (std::string_view name : {"", "A", "Hook@A1(Grip)Ap"}) {
            std::string made;
            write(name, made);
            const std::vector<std::uint8_t> built = namedLayerObject(name);
            if (made != std::string(built.begin(), built.end())) std::abort();
        }
    }

    // The object of namedLayerObject(name), into `to`.
    void write(std::string_view name, std::string& to) const {
        const std::size_t named = name.size() + 1 + (name.size() + 1) % 2;
        to.clear();
        to.reserve(head_.size() + 8 + kFixed + named + tail_.size());
        to += head_;
        to += "LAYR";
        appendSize(to, kFixed + named);
        to += fixed_;
        to += name;
        to.append(named - name.size(), '\0');
        to += tail_;
        std::string sized;
        appendSize(sized, to.size() - 8);
        to.replace(4, 4, sized);
    }

private:
    static constexpr std::size_t kFixed = 16;  // number, flags and pivot, ahead of the name

    static std::size_t loadSize(const std::string& bytes, std::size_t at) {
        std::size_t size = 0;
        for (std::size_t i = 0; i < 4; ++i) size = size << 8 | static_cast<unsigned char>(bytes[at + i]);
        return size;
    }
    static void appendSize(std::string& to, std::size_t size) {
        for (int shift = 24; shift >= 0; shift -= 8) to += static_cast<char>((size >> shift) & 0xFF);
    }

    std::string head_, fixed_, tail_;
};

}  // namespace vxfuzz
