#pragma once
// The hints dialog's three topics.

#include <array>
#include <string_view>

namespace vx::ui {

inline constexpr std::string_view kHintsTitle = "Hints for Lightwave Object Conversion";
inline constexpr std::array<std::string_view, 3> kHintsTopics = {"Hints", "Articulations", "Texturemaps"};

// The text of topic 0 ("Hints"), 1 ("Articulations") or any other
// ("Texturemaps").
std::string_view hintsText(int topic);

// The dialog always opens on the first topic: it remembers nothing.
inline constexpr int kFirstHintsTopic = 0;

}  // namespace vx::ui
