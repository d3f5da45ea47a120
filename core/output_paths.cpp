#include "core/output_paths.h"

#include "core/text_case.h"

namespace vx {

namespace {

// `path` without a final `suffix` (any case); the whole path when it lacks one.
std::string_view withoutSuffix(std::string_view path, std::string_view suffix) {
    return endsWithIgnoringCase(path, suffix) ? path.substr(0, path.size() - suffix.size()) : path;
}

}  // namespace

std::string defaultOutputPath(std::string_view objectPath) {
    std::string model(withoutSuffix(objectPath, ".lwo"));
    model += ".mdl";
    return model;
}

std::string_view scriptExtension(ModelType type) {
    switch (type) {
        case ModelType::Facility: return ".fma";
        case ModelType::GroundVehicle: return ".gvma";
        default: return ".sama";
    }
}

std::optional<std::string> deriveScriptPath(std::string_view scenePath, std::string_view extension) {
    if (!endsWithIgnoringCase(scenePath, ".lws")) return std::nullopt;
    std::string script(withoutSuffix(scenePath, ".lws"));
    script += extension;
    return script;
}

}  // namespace vx
