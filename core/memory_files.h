#pragma once
// Files held in memory by name, for runs that must not touch the disk (the
// fuzz targets, tests). A run given a store (ConversionJob::files) reads its
// object and scene from it and commits its model and script into it under the
// same rules as on disk: a text replaces the stored one only when it was
// written whole, and a name the store does not hold is a file that does not
// exist. Nothing guards it: runs on several threads each need their own.

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <string>

#include "core/chunk_file.h"
#include "core/message_sink.h"

namespace vx {

struct MemoryFiles {
    std::map<std::string, std::string, std::less<>> files;
    // Room for one text: a text that outgrows it fails as on a full disk.
    std::size_t room = std::numeric_limits<std::size_t>::max();
    // Bytes a writer went on handing over after its text had outgrown the
    // room: what a run wastes when it does not stop at a failed write.
    std::size_t writtenAfterFailure = 0;
};

// ChunkFile::load for an object in the store: the same checks and messages.
// The object is always taken whole: a run that skips the geometry on disk
// only saves the reading.
inline bool loadStoredObject(ChunkFile& file, const MemoryFiles& memory, const std::string& path,
                             MessageSink& sink) {
    const auto stored = memory.files.find(path);
    if (stored == memory.files.end()) {
        file = ChunkFile{};
        sink.error("Can't open inputfile", path, ENOENT);
        return false;
    }
    ByteBuffer bytes(stored->second.size());
    if (!stored->second.empty()) std::memcpy(bytes.data(), stored->second.data(), stored->second.size());
    return file.accept(std::move(bytes), path, sink);
}

}  // namespace vx
