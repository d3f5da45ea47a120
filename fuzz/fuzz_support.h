#pragma once
// What the fuzz targets share: a sink that swallows messages and the names of
// the files a run keeps in memory. The runs read and write a store
// (core/memory_files.h) rather than the disk, where replacing a file starts a
// write-back to the device and held the fuzzers to a few hundred inputs a
// second at best.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/memory_files.h"
#include "core/message_sink.h"

namespace vxfuzz {

class QuietSink final : public vx::MessageSink {
public:
    void report(const vx::Message& m) override {
        // Every message names its file; one without would be a fault.
        if (m.path.empty()) std::abort();
        ++(m.severity == vx::Severity::Error ? errors : warnings);
    }
    int errors = 0;
    int warnings = 0;
};

// A name in the store: a bare file name. The checks that a run writes over
// none of its inputs still look each name up on disk (in the working folder,
// where none of them is found), and a bare name takes them the fewest steps.
inline std::string storedPath(std::string_view name) { return std::string(name); }

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A number drawn from the whole input (FNV-1a), the same on every run of it.
// A target converts each input with the one option set this number picks
// rather than with all of them: a conversion under the sanitizers costs as
// much as the rest of the fuzzer's turn, so every extra set would divide the
// inputs a second, while any mutation draws afresh and the inputs the fuzzer
// keeps soon cover every set.
inline std::uint32_t optionDraw(std::string_view bytes) {
    std::uint32_t h = 2166136261u;
    for (const char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

}  // namespace vxfuzz
