#pragma once
// Where each component of a model stands at a pose: the Refer chains from
// the root walked down, each component's own lines, each Refer's
// articulation and lines applied as mdl/mdl_model.h describes. A component
// referred to from several places is placed once for each.

#include <cstddef>
#include <string>
#include <vector>

#include "mdl/mdl_model.h"
#include "mdl/mdl_pose.h"
#include "preview/image.h"

namespace vx {

// x' = m[0..2]·(x, y, z) + m[3], and so on for y' and z'.
struct Affine {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

Affine compose(const Affine& outer, const Affine& inner);  // inner applied first
Point3 apply(const Affine& a, const Point3& p);

struct PlacedComponent {
    std::size_t component = 0;  // index into MdlModel::components
    Affine toWorld;             // from the component's contents to the model's axes
};

// 0 with `placed` filled (nothing without a root), or 1 when the references
// would place more than a few times the model's own geometry (a model
// whose components each refer to the next one twice would otherwise double
// the work with every line); `why` then says so.
int placeModel(const MdlModel& model, const MdlPose& pose, std::vector<PlacedComponent>& placed, std::string& why);

// A surface's colour at the pose: its face colour, with the levels its
// colour articulation gives, each held within 0 to 255.
Rgb surfaceColor(const MdlSurface& surface, const MdlPose& pose);

// Colour levels as written may pass 255; a picture holds each within 0 to 255.
Rgb clampedRgb(const MdlColor& c);

}  // namespace vx
