#pragma once
// A pose: the values chosen for a model's articulations, named the way the
// articulation scripts name them, "Articulation.Transformation" (for example
// "Dish.Azimuth"). A transformation the pose does not name stands at its
// default; a value outside its range is held at the nearer end.

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "mdl/mdl_model.h"

namespace vx {

using MdlPose = std::map<std::string, double, std::less<>>;

std::string poseKey(std::string_view articulation, std::string_view transformation);

// The value of `t`, a line of the articulation named `articulation`, at `pose`.
double transformationValue(const MdlTransformation& t, std::string_view articulation, const MdlPose& pose);

// Whether a transformation moves geometry or colour (texture ones do neither).
bool isVisibleTransformation(MdlTransformKind kind);

}  // namespace vx
