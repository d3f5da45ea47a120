// The bytes as an existing model file whose header recalls the model type.

#include "core/model_type.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = vxfuzz::scratchPath("recall.txt");
    vxfuzz::writeInput(path, data, size);
    (void)vx::readModelTypeFromMdl(path);
    return 0;
}
