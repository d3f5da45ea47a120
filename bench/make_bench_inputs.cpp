// Writes the benchmark inputs into a directory: LightWave 6+ objects made of
// triangle grids (one grid per layer, a UV map, point indices past 0xFF00 so
// that the four-byte index form is used) and a scene with many animated
// channels. Nothing here is random: every run writes the same bytes.

#include <array>
#include <cmath>
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
    std::snprintf(buf, sizeof buf, "Panel%03d", s);
    return buf;
}

Data surfaceChunk(int s) {
    const float shade = 0.2f + 0.6f * float(s % 10) / 9.0f;
    Data imap = Data().name("\x80").add(sub("CHAN", Data().raw("COLR"))).add(sub("ENAB", Data().u2(1)));
    Data blok = Data()
                    .add(sub("IMAP", imap))
                    .add(sub("PROJ", Data().u2(5)))
                    .add(sub("IMAG", Data().vx(static_cast<std::uint32_t>(s % 8 + 1))))
                    .add(sub("WRAP", Data().u2(1).u2(1)))
                    .add(sub("VMAP", Data().name("UVMap")));
    return chunk("SURF", Data()
                             .name(surfaceName(s))
                             .name("")
                             .add(sub("COLR", Data().f4(shade).f4(0.5f).f4(1.0f - shade).vx(0)))
                             .add(sub("DIFF", Data().f4(0.8f).vx(0)))
                             .add(sub("SPEC", Data().f4(0.25f).vx(0)))
                             .add(sub("GLOS", Data().f4(0.4f).vx(0)))
                             .add(sub("SMAN", Data().f4(1.56f)))
                             .add(sub("BLOK", blok)));
}

// One layer: a grid of columns x rows cells, two triangles a cell, the
// triangles' surfaces interleaved in runs of seven.
std::vector<Data> layerChunks(int layer, int columns, int rows, int surfaces, int& polygonBase) {
    std::vector<Data> out;
    Data layr = Data().u2(static_cast<unsigned>(layer)).u2(0).point(0, float(layer) * 2.0f, 0);
    layr.name("Part" + std::to_string(layer + 1));
    out.push_back(chunk("LAYR", layr));

    Data pnts, uv;
    uv.raw("TXUV").u2(2).name("UVMap");
    std::uint32_t index = 0;
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= columns; ++c, ++index) {
            const float x = float(c) * 0.01f, z = float(r) * 0.01f;
            pnts.point(x, 0.05f * std::sin(x * 3.0f) + float(layer), z);
            uv.vx(index).f4(float(c) / float(columns)).f4(float(r) / float(rows));
        }
    }
    out.push_back(chunk("PNTS", pnts));
    out.push_back(chunk("VMAP", uv));

    Data pols, ptag;
    pols.raw("FACE");
    ptag.raw("SURF");
    std::uint32_t polygon = 0;
    auto corner = [&](int c, int r) { return static_cast<std::uint32_t>(r * (columns + 1) + c); };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::uint32_t a = corner(c, r), b = corner(c + 1, r), d = corner(c, r + 1), e = corner(c + 1, r + 1);
            for (auto tri : {std::array{a, b, e}, std::array{a, e, d}}) {
                pols.u2(3).vx(tri[0]).vx(tri[1]).vx(tri[2]);
                ptag.vx(polygon).u2(static_cast<unsigned>((polygonBase + polygon) / 7 % surfaces));
                ++polygon;
            }
        }
    }
    polygonBase += static_cast<int>(polygon);
    out.push_back(chunk("POLS", pols));
    out.push_back(chunk("PTAG", ptag));
    return out;
}

bool writeObject(const std::string& path, int layers, int columns, int rows, int surfaces) {
    std::vector<Data> chunks;
    Data tags;
    for (int s = 0; s < surfaces; ++s) tags.name(surfaceName(s));
    chunks.push_back(chunk("TAGS", tags));
    int polygonBase = 0;
    for (int l = 0; l < layers; ++l) {
        for (Data& c : layerChunks(l, columns, rows, surfaces, polygonBase)) chunks.push_back(std::move(c));
    }
    for (int i = 1; i <= 8; ++i) {
        chunks.push_back(chunk("CLIP", Data().u4(static_cast<std::uint32_t>(i))
                                            .add(sub("STIL", Data().name("textures/panel" + std::to_string(i) + ".png")))));
    }
    for (int s = 0; s < surfaces; ++s) chunks.push_back(surfaceChunk(s));
    const auto bytes = vxtest::form("LWO2", chunks);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::cout << "wrote " << path << " (" << bytes.size() / (1024 * 1024) << " MiB, " << polygonBase
              << " triangles, " << surfaces << " surfaces)\n";
    return static_cast<bool>(out);
}

// A scene that animates the four layers of an object: `channels` channels of
// `keys` keys each, spread over the layers and the nine channel kinds, with
// every key shape.
bool writeScene(const std::string& path, const std::string& objectName, int channels, int keys) {
    std::ofstream out(path, std::ios::binary);
    out << "LWSC\n3\n\nFirstFrame 1\nLastFrame " << keys * 10 << "\nFramesPerSecond 30\n\n";
    const int layers = 4;
    const int perLayer = (channels + layers - 1) / layers;
    int written = 0;
    for (int l = 0; l < layers && written < channels; ++l) {
        // Several loads of the same layer carry more channels than nine.
        for (int item = 0; item * 9 < perLayer && written < channels; ++item) {
            out << "LoadObjectLayer " << l + 1 << " Objects/" << objectName << "\n";
            out << "ShowObject 7 -1\nObjectMotion\nNumChannels 9\n";
            for (int ch = 0; ch < 9 && item * 9 + ch < perLayer && written < channels; ++ch, ++written) {
                out << "Channel " << ch << "\n{ Envelope\n  " << keys << "\n";
                for (int k = 0; k < keys; ++k) {
                    const int shape = (k + ch) % 6;  // TCB, Hermite, Bezier, Linear, Stepped, 2D Bezier
                    const double value = std::sin(k * 0.3 + ch) * (ch < 3 ? 2.0 : 0.8);
                    const double time = k * 10.0 / 30.0;
                    out << "  Key " << value << " " << time << " " << shape << " 0.1 -0.2 0.3 0 0 0.5\n";
                }
                out << "  Behaviors 1 " << (ch % 2 ? 2 : 1) << "\n}\n";
            }
            out << "\n";
        }
    }
    std::cout << "wrote " << path << " (" << written << " channels of " << keys << " keys)\n";
    return static_cast<bool>(out);
}

// A scene of 1 KB that asks for millions of rows: one channel of 40 curved
// keys spread over four million seconds, with its one-layer object. Sliced by
// a small time step every interval reaches the slice cap, so the run ends at
// the script's bound on rows.
bool writeTinyScene(const std::string& dir) {
    const auto object = vxtest::form("LWO2", {chunk("LAYR", Data().u2(0).u2(0).point(0, 0, 0).name("Dish@Y"))});
    std::ofstream lwo(dir + "/tiny.lwo", std::ios::binary);
    lwo.write(reinterpret_cast<const char*>(object.data()), static_cast<std::streamsize>(object.size()));
    std::ofstream out(dir + "/tiny.lws", std::ios::binary);
    out << "LWSC\n3\n\nLoadObjectLayer 1 Objects/tiny.lwo\nChannel 3\n{ Envelope\n  40\n";
    for (int k = 0; k < 40; ++k) out << "  Key " << std::sin(k * 0.7) << " " << k * 100000 << " 0 0 0 0 0 0 0\n";
    out << "  Behaviors 1 1\n}\n";
    std::cout << "wrote " << dir << "/tiny.lws (40 keys over 4e6 seconds)\n";
    return static_cast<bool>(lwo) && static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_bench_inputs DIRECTORY\n";
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;
    // 4 layers x 500 x 250 cells x 2 = 1,000,000 triangles; 125,751 points a layer.
    ok &= writeObject(dir + "/large50.lwo", 4, 500, 250, 50);
    ok &= writeObject(dir + "/large500.lwo", 4, 500, 250, 500);
    ok &= writeObject(dir + "/medium.lwo", 1, 250, 200, 50);
    ok &= writeScene(dir + "/large50.lws", "large50.lwo", 200, 100);
    ok &= writeTinyScene(dir);
    return ok ? 0 : 1;
}
