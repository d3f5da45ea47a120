#pragma once
// Numbers typed into and shown in the dialogs' edit boxes.

#include <optional>
#include <string>
#include <string_view>

namespace vx::ui {

// The whole text must be one finite number; blanks around it are allowed.
std::optional<double> parseNumberText(std::string_view text);
std::optional<int> parseIntegerText(std::string_view text);

// As printf's "%.*g" shows it.
std::string formatNumber(double value, int significantDigits);

}  // namespace vx::ui
