// The bytes as an existing output file read back: the model type recalled
// from a model file's header and the settings recalled from a script's. The
// recall opens its file by name, so the bytes go to one file in memory made
// for the whole run (a memfd, named through /proc/self/fd) and rewritten for
// each input: the recall reads it like any file, and the disk is never used.

#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "core/job.h"
#include "core/model_type.h"
#include "core/model_type_recall.h"
#include "scene/script_settings.h"

namespace {

int memoryFile() {
    static const int fd = [] {
        const int made = ::memfd_create("vertexion-fuzz-text", MFD_CLOEXEC);
        if (made < 0) std::abort();
        return made;
    }();
    return fd;
}

void rewrite(int fd, const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(fd, 0) != 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/proc/self/fd/" + std::to_string(memoryFile());
    rewrite(memoryFile(), data, size);
    (void)vx::readModelTypeFromMdl(path);
    if (std::optional<vx::RecalledScriptSettings> recalled = vx::recallScriptSettings(path)) {
        vx::ConversionJob job;
        vx::applyRecalledSettings(*recalled, job);
    }
    return 0;
}
