// The bytes as an existing output file read back: the model type recalled
// from a model file's header and the settings recalled from a script's.

#include "core/job.h"
#include "core/model_type.h"
#include "fuzz/fuzz_support.h"
#include "scene/script_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = vxfuzz::scratchPath("recall.txt");
    vxfuzz::writeInput(path, data, size);
    (void)vx::readModelTypeFromMdl(path);
    if (std::optional<vx::RecalledScriptSettings> recalled = vx::recallScriptSettings(path)) {
        vx::ConversionJob job;
        vx::applyRecalledSettings(*recalled, job);
    }
    return 0;
}
