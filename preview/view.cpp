#include "preview/view.h"

#include <cmath>

namespace vx {

namespace {

Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 unit(const Vec3& a) { return (1.0 / std::sqrt(dot(a, a))) * a; }

}  // namespace

ModelAxes modelAxes(ModelType type) {
    switch (type) {
        case ModelType::SpacecraftAircraft: return {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}};
        case ModelType::GroundVehicle: return {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
        case ModelType::Facility: return {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
        default: return {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}};
    }
}

ViewFrame viewFrame(ModelType type, ViewKind view) {
    const ModelAxes a = modelAxes(type);
    Vec3 toward, up = a.up;
    switch (view) {
        case ViewKind::Front: toward = a.front; break;
        case ViewKind::Side: toward = a.right; break;
        case ViewKind::Top:
            toward = a.up;
            up = a.front;
            break;
        case ViewKind::ThreeQuarter: toward = unit(a.front + a.right + 0.8 * a.up); break;
    }
    // Screen right = up x toward keeps the frame right-handed, so no view is a
    // mirror image; the screen's up is then made square to the view.
    const Vec3 right = unit(cross(up, toward));
    return {right, cross(toward, right), toward};
}

std::string_view viewName(ViewKind view) {
    switch (view) {
        case ViewKind::Front: return "Front";
        case ViewKind::Side: return "Side";
        case ViewKind::Top: return "Top";
        default: return "Three-quarter";
    }
}

std::string_view modelTypeName(ModelType type) {
    switch (type) {
        case ModelType::SpacecraftAircraft: return "Spacecraft/Aircraft";
        case ModelType::GroundVehicle: return "Ground Vehicle";
        case ModelType::Facility: return "Facility";
        default: return "None";
    }
}

}  // namespace vx
