#pragma once
// LightWave keeps +Y up (and, from version 6, +Z to the front); the model
// format's axes depend on the kind of vehicle. Points are decoded once, in
// place, into the model's axes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vx {

enum class ModelType : std::int32_t {
    SpacecraftAircraft = 0,
    GroundVehicle = 1,
    Facility = 2,
    None = 3,
};

// "# Axis rotation applied: ...\n" for the model type; any value outside the
// first three gives the "None" line.
std::string_view axisRotationLine(ModelType type);

// Rewrites `count` stored points (12 bytes each: big-endian X, Y, Z floats) as
// native floats in the model's axes and raises `maximum` to the largest
// absolute coordinate met. Points beyond the end of `stored` are not touched.
void decodePoints(std::span<std::uint8_t> stored, std::size_t count, ModelType type, float& maximum);

struct Point3 {
    float x = 0, y = 0, z = 0;
};

// Reads decoded point `index` (native floats) from a decoded block.
Point3 decodedPoint(const std::uint8_t* block, std::size_t index);

}  // namespace vx
