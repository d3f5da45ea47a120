#include "core/model_type.h"

#include <cmath>
#include <cstring>

#include "core/byte_reader.h"

namespace vx {

std::string_view axisRotationLine(ModelType type) {
    switch (type) {
        case ModelType::SpacecraftAircraft:
            return "# Axis rotation applied: Spacecraft/Aircraft (+Y to -Z, +X to +Y)\n";
        case ModelType::GroundVehicle:
            return "# Axis rotation applied: Ground Vehicle (+Y to +Z, +X to -Y)\n";
        case ModelType::Facility:
            return "# Axis rotation applied: Facility (+Y to +Z)\n";
        default:
            return "# Axis rotation applied: None\n";
    }
}

namespace {

inline void raise(float& maximum, float v) {
    // A NaN compares false and never becomes the maximum.
    if (std::fabs(v) > maximum) maximum = std::fabs(v);
}

}  // namespace

void decodePoints(std::span<std::uint8_t> stored, std::size_t count, ModelType type, float& maximum) {
    if (count > stored.size() / 12) count = stored.size() / 12;
    std::uint8_t* p = stored.data();
    for (std::size_t i = 0; i < count; ++i, p += 12) {
        float X = loadF4(p), Y = loadF4(p + 4), Z = loadF4(p + 8);
        float out[3];
        switch (type) {
            case ModelType::SpacecraftAircraft: out[0] = Z; out[1] = X;  out[2] = -Y; break;
            case ModelType::GroundVehicle:      out[0] = Z; out[1] = -X; out[2] = Y;  break;
            case ModelType::Facility:           out[0] = X; out[1] = Z;  out[2] = Y;  break;
            default:                            out[0] = X; out[1] = Y;  out[2] = -Z; break;
        }
        std::memcpy(p, out, 12);
        raise(maximum, out[0]);
        raise(maximum, out[1]);
        raise(maximum, out[2]);
    }
}

Point3 decodedPoint(const std::uint8_t* block, std::size_t index) {
    Point3 pt;
    std::memcpy(&pt, block + index * 12, 12);
    return pt;
}

}  // namespace vx
