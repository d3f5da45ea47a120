// Writes LightWave 6+ objects whose layers form one long chain and carry no
// geometry, so that converting them costs nothing but placing the layers:
//   parent_chain.lwo          each layer is the LightWave parent of the one before it in the file
//   parent_chain_reverse.lwo  each layer is the LightWave parent of the one after it
//   include_chain.lwo         each layer includes the previous one's include group and is
//                             includable itself ("@i<previous>i")
// The layers are numbered in file order, so the chains run the same way
// with and without layer sorting. Nothing here is random.
// Usage: make_layer_chains DIRECTORY [LAYERS]   (default and most: 65535)

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/lwo2_builder.h"

namespace {

constexpr long kMostLayers = 65535;  // stored numbers 0..65534; 0xFFFF means "no parent"

enum class Chain { ParentOfPrevious, ParentOfNext, Includes };

bool writeChain(const std::string& path, unsigned layers, Chain chain) {
    std::vector<vxtest::Data> chunks;
    chunks.reserve(layers);
    for (unsigned i = 0; i < layers; ++i) {
        std::optional<unsigned> parent;
        std::string name = "Part" + std::to_string(i + 1);
        switch (chain) {
            case Chain::ParentOfPrevious:
                if (i + 1 < layers) parent = i + 1;
                break;
            case Chain::ParentOfNext:
                if (i > 0) parent = i - 1;
                break;
            case Chain::Includes:
                // Layer numbers in codes count from 1: the previous layer is number i.
                name += i > 0 ? "@i" + std::to_string(i) + "i" : std::string("@i");
                break;
        }
        chunks.push_back(vxtest::layr(i, name, 0, 0, 0, 0, parent));
    }
    const auto bytes = vxtest::form("LWO2", chunks);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::cout << "wrote " << path << " (" << layers << " layers, " << bytes.size() << " bytes)\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    long layers = kMostLayers;
    if (argc == 3) layers = std::strtol(argv[2], nullptr, 10);
    if ((argc != 2 && argc != 3) || layers < 1 || layers > kMostLayers) {
        std::cerr << "usage: make_layer_chains DIRECTORY [LAYERS]   (1 to 65535 layers, default 65535)\n";
        return 2;
    }
    const std::string dir = argv[1];
    const auto n = static_cast<unsigned>(layers);
    bool ok = true;
    ok &= writeChain(dir + "/parent_chain.lwo", n, Chain::ParentOfPrevious);
    ok &= writeChain(dir + "/parent_chain_reverse.lwo", n, Chain::ParentOfNext);
    ok &= writeChain(dir + "/include_chain.lwo", n, Chain::Includes);
    return ok ? 0 : 1;
}
