#pragma once
// Lines that every model file shares, whichever LightWave generation it came from.

#include <string>
#include <string_view>

#include "core/model_type.h"

namespace vx {

inline constexpr std::string_view kProgramBanner = "Vertexion v2.8b";

// "# Korvan 3D Model file" header naming the object, then the axis line.
void appendModelHeader(std::string& out, std::string_view objectModelName, ModelType type);

// "\t\t\t%.11f %.11f %.11f\n"
void appendCoordinateLine(std::string& out, const Point3& p);

}  // namespace vx
