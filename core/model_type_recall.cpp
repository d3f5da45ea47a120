#include "core/model_type_recall.h"

#include <cstring>
#include <fstream>
#include <string_view>

#include "core/file_checks.h"
#include "core/text_case.h"

namespace vx {

std::optional<ModelType> readModelTypeFromMdl(const std::string& path) {
    if (!isRegularFile(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    constexpr std::string_view kPrefix = "# Axis rotation applied: ";
    // Lines are read in pieces of at most 511 characters, each taken as a line.
    char buf[512];
    while (true) {
        in.getline(buf, sizeof buf);
        std::streamsize got = in.gcount();
        if (got == 0 && !in) break;
        std::string_view line(buf, std::strlen(buf));
        if (startsWithIgnoringCase(line, kPrefix)) {
            char c = line.size() > kPrefix.size() ? line[kPrefix.size()] : '\0';
            switch (c) {
                case 'S': return ModelType::SpacecraftAircraft;
                case 'G': return ModelType::GroundVehicle;
                case 'F': return ModelType::Facility;
                case 'N': return ModelType::None;
                default: return std::nullopt;
            }
        }
        if (startsWithIgnoringCase(line, "Component")) return std::nullopt;
        if (in.eof()) break;
        if (in.fail()) in.clear();  // a long line: go on with its next piece
    }
    return std::nullopt;
}

}  // namespace vx
