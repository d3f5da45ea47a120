#pragma once
// The viewer's frame for each model type, and the four directions a sheet
// looks from. The model types rotate LightWave's axes so that the scenario
// viewer finds its front and top where it expects them:
//
//   type                 front   up    right
//   Spacecraft/Aircraft   +x     -z     +y
//   Ground Vehicle        +x     +z     -y
//   Facility              +y     +z     +x
//   None                  -z     +y     +x
//
// (each frame right-handed, right = front x up).

#include <string_view>

#include "core/model_type.h"

namespace vx {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

struct ModelAxes {
    Vec3 front, up, right;
};
ModelAxes modelAxes(ModelType type);

enum class ViewKind { Front, Side, Top, ThreeQuarter };
inline constexpr ViewKind kSheetViews[4] = {ViewKind::Front, ViewKind::Side, ViewKind::Top, ViewKind::ThreeQuarter};

// The screen's axes in model coordinates, each of unit length: to the right,
// up, and towards the viewer (the depth that grows nearer).
struct ViewFrame {
    Vec3 right, up, toward;
};

// Front: looking at the model's front. Side: from its right. Top: from
// above with its front up the screen. Three-quarter: from front, right and
// above.
ViewFrame viewFrame(ModelType type, ViewKind view);

std::string_view viewName(ViewKind view);        // "Front", "Side", "Top", "Three-quarter"
std::string_view modelTypeName(ModelType type);  // "Spacecraft/Aircraft", ..., "None"

inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace vx
