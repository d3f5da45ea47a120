// Writes examples/beacon.lwo, the LightWave 5 example object: a box-shaped
// beacon with a lamp pyramid on top and a marker point, on three surfaces.

#include <cstdio>
#include <fstream>
#include <iostream>

#include "tests/support/lwo_builder.h"

using vxtest::chunk;
using vxtest::Data;
using vxtest::lwobPolygon;
using vxtest::sub;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_lwob_example OUTPUT.lwo\n";
        return 2;
    }
    Data points;
    // Body: a 2 x 4 x 2 box standing on the ground.
    for (float y : {0.0f, 4.0f})
        for (auto [x, z] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}})
            points.point(x, y, z);
    points.point(0.0f, 5.5f, 0.0f);   // 8: lamp tip
    points.point(0.0f, 6.0f, 0.0f);   // 9: marker above the lamp

    Data polygons;
    polygons.add(lwobPolygon({0, 1, 2, 3}, 1))   // floor
        .add(lwobPolygon({0, 4, 5, 1}, 1))
        .add(lwobPolygon({1, 5, 6, 2}, 1))
        .add(lwobPolygon({2, 6, 7, 3}, 1))
        .add(lwobPolygon({3, 7, 4, 0}, 1))
        .add(lwobPolygon({4, 8, 5}, 2))           // lamp pyramid
        .add(lwobPolygon({5, 8, 6}, 2))
        .add(lwobPolygon({6, 8, 7}, 2))
        .add(lwobPolygon({7, 8, 4}, 2))
        .add(lwobPolygon({9}, 3));                // marker point

    Data hull = Data().name("Hull")
                    .add(sub("COLR", Data().u1(180).u1(180).u1(190).u1(0)))
                    .add(sub("FLAG", Data().u2(4)))
                    .add(sub("SPEC", Data().u2(64)))
                    .add(sub("GLOS", Data().u2(40)));
    Data lamp = Data().name("Lamp")
                    .add(sub("COLR", Data().u1(255).u1(60).u1(20).u1(0)))
                    .add(sub("FLAG", Data().u2(4 | 256)))
                    .add(sub("TRAN", Data().u2(64)))
                    .add(sub("LUMI", Data().u2(256)));
    Data marker = Data().name("Marker").add(sub("COLR", Data().u1(255).u1(255).u1(255).u1(0)));

    auto bytes = vxtest::form("LWOB", {chunk("PNTS", points), chunk("SRFS", Data().name("Hull").name("Lamp").name("Marker")),
                                       chunk("POLS", polygons), chunk("SURF", hull), chunk("SURF", lamp),
                                       chunk("SURF", marker)});
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
