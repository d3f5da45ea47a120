#pragma once
// Numbers written exactly as printf's "%.11f", "%f", "%g", "%d" and "%03d"
// write them in the C locale, without going through printf.

#include <string>

namespace vx {

void appendFixed(std::string& out, double value, int precision);  // "%.<precision>f"
void appendGeneral(std::string& out, double value);               // "%g"
void appendInt(std::string& out, long long value);                // "%d"
void appendInt3(std::string& out, int value);                     // "%03d"

}  // namespace vx
