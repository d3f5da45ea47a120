#pragma once
// Articulation codes in layer names. A layer named "Dish@Y(Azimuth)P" has the
// component name Dish and the code string "Y(Azimuth)P": items made of a code
// letter ("A" and "S" take one more character), then an argument of range
// characters (digits, ".", "-", "_" for a space) and names in parentheses.
// Positions are indices into the code string; none is std::nullopt.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/chunk_file.h"
#include "core/model_type.h"

namespace vx {

// The codes a layer gets when its name has no "@".
inline constexpr std::string_view kDefaultCodes = "sRPYxyz";

struct LayerName {
    std::string component;  // MDL name of the layer's component, at most 31 characters
    std::string codes;      // everything after the first "@" (control characters as spaces)
};

// Splits a layer's name (LAYR data) into component name and codes. An
// unnamed layer is "Layer%d" with its layer number.
LayerName parseLayerName(std::string_view rawName, int layerNumber);

bool isRangeCharacter(char c);

// The position past an item's letter, and past the sub-letter of "A" and "S":
// where its argument starts.
std::size_t pastCodeLetter(std::string_view codes, std::size_t at);

// The position after the argument that starts at `at`.
std::size_t skipArgument(std::string_view codes, std::size_t at);
// The first item whose letter is `letter` (or `letter` followed by `second`).
std::optional<std::size_t> findCode(std::string_view codes, char letter);
std::optional<std::size_t> findCodePair(std::string_view codes, char letter, char second);
// The name of the item at `item`: its name in parentheses, else `defaultName`.
std::string codeName(std::string_view codes, std::size_t item, std::string_view defaultName);

// The argument that starts at `at`: its last name in parentheses (none when
// it has none), its range characters with each "_" as a space, and the
// position of the character that ended it.
struct CodeArgument {
    std::optional<std::string> name;
    std::string range;
    std::size_t end = 0;
};
CodeArgument readCodeArgument(std::string_view codes, std::size_t at);

// The layer number of an "i" item whose argument starts at `at`, read the
// way "%d" reads it (white space, a sign, digits); none for a bare "i".
std::optional<int> includeNumber(std::string_view codes, std::size_t at);

// Appends one line: keyword, the name and a space when `name` is given, then
// the range text (or `defaultRange` when it has fewer than two characters).
// `name` comes back replaced by the item's name in parentheses, if any.
// Returns the position of the character that ended the argument.
std::size_t readArgument(std::string& out, std::string_view keyword, std::string_view defaultRange,
                         std::string_view codes, std::size_t at, std::string* name);

// One articulation letter of the vocabulary.
struct CodeInfo {
    std::string_view defaultName;
    std::string_view keyword;
    std::string_view defaultRange;
};
// The entry of a letter ("s", "R", "P", "Y", "x", "y", "z", "u", "v", "r"),
// or of "S" with its sub-letter ("x", "y", "z", "u", "v"); none otherwise.
// Rotation keywords depend on the model type.
std::optional<CodeInfo> articulationCode(char letter, ModelType type);
std::optional<CodeInfo> scaleCode(char subLetter);

}  // namespace vx
