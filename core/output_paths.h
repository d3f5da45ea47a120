#pragma once
// The files a conversion writes when the user names none: both front ends
// derive them here, so that the same object or scene always gives the same
// model and script names.

#include <optional>
#include <string>
#include <string_view>

#include "core/model_type.h"

namespace vx {

// The model named after an object: a final ".lwo" (any case) replaced by
// ".mdl", any other name with ".mdl" appended, so that the model never takes
// the object's own name.
std::string defaultOutputPath(std::string_view objectPath);

// ".fma" for facilities, ".gvma" for ground vehicles, ".sama" otherwise.
std::string_view scriptExtension(ModelType type);

// The script named after a scene: a final ".lws" (any case) replaced by
// `extension`; none when the scene name does not end in ".lws", as a script
// must never replace its scene.
std::optional<std::string> deriveScriptPath(std::string_view scenePath, std::string_view extension);

}  // namespace vx
