#pragma once
// Numbers written exactly as printf's "%.11f", "%f", "%g", "%d" and "%03d"
// write them in the C locale, without going through printf.
//
// The float overloads print the same text as the double ones for the same
// value (a float promoted to double is exact); they exist because model
// coordinates and script values are single precision, which an exact integer
// formatter handles many times faster than a general one.

#include <string>

namespace vx {

void appendFixed(std::string& out, double value, int precision);  // "%.<precision>f"
void appendFixed(std::string& out, float value, int precision);
void appendGeneral(std::string& out, double value);               // "%g"
void appendGeneral(std::string& out, float value);
void appendInt(std::string& out, long long value);                // "%d"
void appendInt3(std::string& out, int value);                     // "%03d"

}  // namespace vx
