#pragma once
// Runs LWO2 conversions of objects built in memory.

#include <functional>
#include <string>
#include <vector>

#include "core/job.h"
#include "lwo2/context.h"
#include "lwo2/convert_lwo2.h"
#include "tests/support/lwo2_builder.h"
#include "tests/support/test_support.h"

namespace lwo2test {

struct Converted {
    int status = -1;
    std::string mdl;
    vxtest::RecordingSink sink;
};

// Converts `bytes` as if loaded from <scratch>/ship.lwo into <scratch>/ship.mdl.
inline Converted convert(const std::vector<std::uint8_t>& bytes,
                         const std::function<void(vx::ConversionJob&)>& adjust = {}) {
    vxtest::ScratchDir dir;
    Converted result;
    vx::ChunkFile file;
    if (!file.loadBytes(bytes, dir.path("ship.lwo"), result.sink)) return result;
    vx::ConversionJob job;
    job.inputPath = dir.path("ship.lwo");
    job.outputPath = dir.path("ship.mdl");
    if (adjust) adjust(job);
    vx::Lwo2Context context(file);
    result.status = vx::convertLwo2(job, context, job.outputPath, result.sink);
    result.mdl = vxtest::readText(job.outputPath);
    return result;
}

// The text between the first line equal to `from` and the next line equal
// to `to` (both included); empty when absent.
inline std::string section(const std::string& text, const std::string& from, const std::string& to) {
    std::size_t begin = text.find(from);
    if (begin == std::string::npos) return {};
    std::size_t end = text.find(to, begin + from.size());
    if (end == std::string::npos) return {};
    return text.substr(begin, end + to.size() - begin);
}

}  // namespace lwo2test
