// Writes a LightWave 5 object of 65,000 surfaces, each with its own SURF
// chunk and one triangle, and 260,000 empty chunks among the SURF chunks: every
// surface's attributes must be found without walking all the chunks again.
// Nothing here is random: every run writes the same bytes.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tests/support/lwo_builder.h"

using vxtest::chunk;
using vxtest::Data;
using vxtest::sub;

namespace {

std::string surfaceName(int s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Surface%05d", s);
    return buf;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_lwob_surfaces DIRECTORY\n";
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/lwob_surfaces.lwo";
    constexpr int kSurfaces = 65000;
    constexpr int kFillersPerSurface = 4;

    Data srfs, pols, surfaces;
    for (int s = 0; s < kSurfaces; ++s) {
        srfs.name(surfaceName(s));
        pols.add(vxtest::lwobPolygon({0, 1, 2}, s + 1));
        for (int f = 0; f < kFillersPerSurface; ++f) surfaces.add(chunk("FILL", Data()));
        surfaces.add(chunk("SURF", Data()
                                       .name(surfaceName(s))
                                       .add(sub("COLR", Data().u1(s % 256).u1(s / 256 % 256).u1(128).u1(0)))
                                       .add(sub("FLAG", Data().u2(s % 2 ? 4 : 256)))
                                       .add(sub("SPEC", Data().u2(64)))));
    }
    const auto bytes = vxtest::form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                                             chunk("SRFS", srfs), chunk("POLS", pols), surfaces});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::cout << "wrote " << path << " (" << bytes.size() / 1024 << " KiB, " << kSurfaces << " surfaces, "
              << kSurfaces * kFillersPerSurface << " empty chunks)\n";
    return out ? 0 : 1;
}
