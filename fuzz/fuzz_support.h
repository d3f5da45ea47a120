#pragma once
// What the fuzz targets share: a private scratch directory, a sink that
// swallows messages, and writing the input to a file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

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

// A directory of this process's own, made once.
inline const std::string& scratchDir() {
    static const std::string dir = [] {
        std::string pattern = "/tmp/vertexion-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return dir;
}

inline std::string scratchPath(std::string_view name) { return scratchDir() + "/" + std::string(name); }

inline void writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace vxfuzz
