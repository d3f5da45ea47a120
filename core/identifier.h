#pragma once
#include <string>
#include <string_view>

namespace vx {

// Turns a path or a layer name into an MDL name: the last path component, up
// to its first ".", spaces and "-" as "_", other characters outside letters,
// digits and "_" dropped, at most 39 characters.
std::string makeIdentifier(std::string_view text);

// Replaces line breaks and other control characters with spaces, so text taken
// from an object cannot add lines to a model file.
std::string singleLine(std::string_view text);

}  // namespace vx
