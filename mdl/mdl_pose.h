#pragma once
// A pose: the values chosen for a model's articulations, named the way the
// articulation scripts name them, "Articulation.Transformation" (for example
// "Dish.Azimuth"). A transformation the pose does not name stands at its
// default; a value outside its range is held at the nearer end.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "mdl/mdl_model.h"

namespace vx {

using MdlPose = std::map<std::string, double, std::less<>>;

std::string poseKey(std::string_view articulation, std::string_view transformation);

// The value of `t`, a line of the articulation named `articulation`, at `pose`.
double transformationValue(const MdlTransformation& t, std::string_view articulation, const MdlPose& pose);

// One line a pose can name: its key, the line, and the component holding
// the Refer or surface block that the articulation belongs to.
struct PoseLine {
    std::string key;
    const MdlTransformation* line = nullptr;
    std::size_t component = 0;
};

// The model's articulation lines in file order, each key once (the first
// line of a key stands for all: a pose moves every line it names). With
// `components` not empty, only those components whose entry is true.
std::vector<PoseLine> poseLines(const MdlModel& model, const std::vector<bool>& components = {});

// Whether a transformation moves geometry or colour (texture ones do neither).
bool isVisibleTransformation(MdlTransformKind kind);

}  // namespace vx
