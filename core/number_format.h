#pragma once
// Numbers written exactly as printf's "%.11f", "%f", "%g", "%d" and "%03d"
// write them in the C locale, without going through printf.
//
// The float overloads print the same text as the double ones for the same
// value (a float promoted to double is exact); they exist because model
// coordinates and script values are single precision, which an exact integer
// formatter handles many times faster than a general one.

#include <cstdint>
#include <string>

namespace vx {

void appendFixed(std::string& out, double value, int precision);  // "%.<precision>f"
void appendFixed(std::string& out, float value, int precision);

// The same texts written into a buffer, for lines assembled in one piece:
// each returns the end of what it wrote. A float's "%.<precision>f" with a
// precision from 0 to 11 needs at most kFixedFloatRoom characters (39 whole
// digits, sign, point and fraction); an unsigned number at most 10.
inline constexpr int kFixedFloatRoom = 56;
char* writeFixed(char* to, float value, int precision);
char* writeUnsigned(char* to, std::uint32_t value);
void appendGeneral(std::string& out, double value);               // "%g"
void appendGeneral(std::string& out, float value);
void appendInt(std::string& out, long long value);                // "%d"
void appendInt3(std::string& out, int value);                     // "%03d"

}  // namespace vx
