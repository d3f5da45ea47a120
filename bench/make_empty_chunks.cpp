// Writes a 100 MiB LightWave object made almost wholly of empty chunks, with
// a layer before them and one after, and a small scene that animates both
// layers. A script-only run must walk every chunk header to find the layers.
// Nothing here is random: every run writes the same bytes.

#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tests/support/lwo_builder.h"

using vxtest::chunk;
using vxtest::Data;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_empty_chunks DIRECTORY\n";
        return 2;
    }
    const std::string dir = argv[1];
    constexpr std::size_t kTarget = std::size_t(100) << 20;

    Data head = Data()
                    .add(chunk("TAGS", Data().name("Hull")))
                    .add(chunk("LAYR", Data().u2(0).u2(0).point(0, 0, 0).name("Base")));
    Data tail = chunk("LAYR", Data().u2(1).u2(0).point(0, 1, 0).name("Dish@Y"));
    const std::size_t fillers = (kTarget - 12 - head.size() - tail.size()) / 8;
    std::vector<std::uint8_t> body = Data().raw("LWO2").add(head).bytes;
    const std::size_t at = body.size();
    body.resize(at + 8 * fillers);
    for (std::size_t i = 0; i < fillers; ++i) std::copy_n("FILL\0\0\0\0", 8, body.begin() + at + 8 * i);
    body.insert(body.end(), tail.bytes.begin(), tail.bytes.end());
    const std::vector<std::uint8_t> bytes =
        Data().raw("FORM").u4(static_cast<std::uint32_t>(body.size())).add(Data{body}).bytes;

    std::ofstream object(dir + "/empty_chunks.lwo", std::ios::binary);
    object.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream scene(dir + "/empty_chunks.lws", std::ios::binary);
    scene << "LWSC\n3\n\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n\n";
    for (int layer : {1, 2}) {
        scene << "LoadObjectLayer " << layer << " Objects/empty_chunks.lwo\nShowObject 7 -1\nObjectMotion\n"
              << "NumChannels 9\nChannel 3\n{ Envelope\n  2\n  Key 0 0 0 0 0 0 0 0 0\n"
              << "  Key 1.5708 2 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n\n";
    }
    std::cout << "wrote " << dir << "/empty_chunks.lwo (" << bytes.size() / (1024 * 1024) << " MiB, " << fillers
              << " empty chunks) and " << dir << "/empty_chunks.lws\n";
    return object && scene ? 0 : 1;
}
