#pragma once
// Both programs recall the model type of a model file converted earlier,
// so that a reconversion keeps the axes the modeller chose then.

#include <optional>
#include <string>

#include "core/model_type.h"

namespace vx {

// The model type named by an existing model file's "# Axis rotation applied: "
// line, searched in the header only (up to the first "Component" line).
std::optional<ModelType> readModelTypeFromMdl(const std::string& path);

}  // namespace vx
