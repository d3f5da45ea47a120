#pragma once
// The report of "vertexion-cli --check": per object, its layers and their
// codes, its surfaces and images, and its warnings, as text or as one JSON
// document for the whole run.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "dispatch/object_check.h"

namespace vx {

// The text report of one object. An object that could not be read gives
// no report: its error goes to standard error like a conversion's.
std::string checkText(const ObjectCheck& report);

// The JSON document of a run, one member per object in "objects", ending
// in a line break.
std::string checkJson(const std::vector<ObjectCheck>& reports);

// The comment keywords a surface carries: "ColorTranslate", the SolarPanel
// text from the keyword on, "ParmTransp".
std::vector<std::string> commentKeywords(const SurfaceLook& look);

// Smoothing angles are kept in radians and reported in degrees.
inline constexpr double kDegreesPerRadian = 57.29577951308232;

// `s` as a JSON string with its quotes. Bytes that are no UTF-8 are taken
// as Latin-1, so that any stored name gives a valid document.
void appendJsonString(std::string& out, std::string_view s);

// Checks every object; returns the exit status: 0 when nothing was found
// to warn about, 1 otherwise.
int runCheck(const std::vector<std::string>& objects, bool json, std::ostream& out, std::ostream& err);

}  // namespace vx
