// Writes examples/ship.lwo, the LightWave 6+ example object: a small
// spacecraft in four layers. The body carries a texture image mapped through
// a UV map; the dish, a child of the body with its own pivot, turns by named
// rotations; the solar wings carry a "SolarPanel" surface comment; a docking
// port layer is an attach point.

#include <fstream>
#include <iostream>

#include "tests/support/lwo2_builder.h"

using namespace vxtest;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_lwo2_example OUTPUT.lwo\n";
        return 2;
    }
    // Body: a 2 x 1 x 4 box, its length along +Z (LightWave's front).
    Data bodyPoints;
    for (float z : {-2.0f, 2.0f})
        for (auto [x, y] : {std::pair{-1.0f, -0.5f}, {1.0f, -0.5f}, {1.0f, 0.5f}, {-1.0f, 0.5f}})
            bodyPoints.point(x, y, z);
    const std::vector<std::vector<std::uint32_t>> bodyFaces = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                               {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}};
    // One texture coordinate pair per corner: the front and back faces show
    // the whole image, the sides stretch its edges.
    std::vector<UvEntry> bodyUv = {{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1},
                                   {4, 1, 0}, {5, 0, 0}, {6, 0, 1}, {7, 1, 1}};

    // Dish: a shallow cone opening upwards, pivot at its foot on the body's top.
    Data dishPoints;
    dishPoints.point(0.0f, 0.5f, 1.0f);  // the foot
    const float rim[6][2] = {{0.8f, 0.0f}, {0.4f, 0.69f}, {-0.4f, 0.69f}, {-0.8f, 0.0f}, {-0.4f, -0.69f}, {0.4f, -0.69f}};
    for (const auto& r : rim) dishPoints.point(r[0], 1.1f, 1.0f + r[1]);
    dishPoints.point(0.0f, 1.6f, 1.0f);  // the feed horn, a one-point polygon
    std::vector<std::vector<std::uint32_t>> dishFaces;
    for (std::uint32_t k = 0; k < 6; ++k) dishFaces.push_back({0, 1 + (k + 1) % 6, 1 + k});
    dishFaces.push_back({7});

    // Solar wings: one panel each side, hinged at the body's sides.
    Data wingPoints;
    for (float side : {1.0f, -1.0f})
        for (auto [x, z] : {std::pair{1.0f, -0.75f}, {3.5f, -0.75f}, {3.5f, 0.75f}, {1.0f, 0.75f}})
            wingPoints.point(side * x, 0.0f, z);
    const std::vector<std::vector<std::uint32_t>> wingFaces = {{0, 1, 2, 3}, {4, 7, 6, 5}};

    const Data hull = Data().add(colr(0.78f, 0.78f, 0.8f)).add(fp4("DIFF", 0.9f)).add(fp4("SPEC", 0.3f))
                          .add(fp4("GLOS", 0.5f)).add(fp4("SMAN", 0.0f))
                          .add(imageBlock("COLR", 1, wrap(1, 1).add(uvName("HullUV"))));
    const Data dish = Data().add(colr(0.95f, 0.95f, 0.9f)).add(fp4("SMAN", 1.56f)).add(sub("SIDE", Data().u2(3)))
                          .add(fp4("SPEC", 0.6f));
    const Data panel = Data().add(colr(0.1f, 0.15f, 0.45f)).add(sub("SIDE", Data().u2(3))).add(fp4("GLOS", 0.8f))
                           .add(cmnt("Deployable SolarPanel Wings"));

    auto bytes = form("LWO2", {
        tagsChunk({"Hull", "Dish", "Panel"}),
        clip(1, "images/hull_plates.png"),
        layr(0, "Body@"),
        chunk("PNTS", bodyPoints), chunk("VMAP", Data().raw("TXUV").u2(2).name("HullUV").add([&] {
            Data d;
            for (const UvEntry& e : bodyUv) d.vx(e.point).f4(e.u).f4(e.v);
            return d;
        }())),
        facePols(bodyFaces), surfPtag({0, 0, 0, 0, 0, 0}),
        layr(1, "Dish@Y(Azimuth)-180_0_180P(Elevation)0_45_90", 0.0f, 0.5f, 1.0f, 0, 0u),
        chunk("PNTS", dishPoints), facePols(dishFaces), surfPtag({1, 1, 1, 1, 1, 1, 1}),
        layr(2, "SolarWings@R(Tilt)-90_0_90", 0.0f, 0.0f, 0.0f, 0, 0u),
        chunk("PNTS", wingPoints), facePols(wingFaces), surfPtag({2, 2}),
        layr(3, "Docking port@Ap", 0.0f, 0.0f, -2.0f, 0, 0u),
        surf("Hull", hull), surf("Dish", dish), surf("Panel", panel),
    });
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
