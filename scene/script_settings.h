#pragma once
// The settings line of an articulation script. The script header records the
// timing and layout a script was made with, and whoever regenerates a script
// (the command line, the script dialog) reads that line back, so both recall
// exactly the same way through recallScriptSettings.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/job.h"

namespace vx {

// The settings line starts with this text; the keywords after it ("Epoch",
// "SPF", "Format", "SubDivTime", "SubDivSteps") are fixed as well.
inline constexpr std::string_view kSettingsPrefix = "# Vertexion settings: ";

// Script rows hold their times in single precision, scaled by 30 frames a
// second: an epoch or a frame length past that range would print "inf" or
// "nan" in every row.
bool isUsableEpoch(double epoch);
bool isUsableSecondsPerFrame(double secondsPerFrame);

// What an existing script's settings line restores. An empty field keeps the
// caller's value; `subdivide` is always restored (off unless the line asks for
// subdivision).
struct RecalledScriptSettings {
    std::optional<double> epoch;
    std::optional<std::string> spfText;     // the SPF word and one space, as the dialog shows it
    std::optional<double> secondsPerFrame;  // from spfText; empty when that is no usable number
    std::optional<ScriptFormat> scriptFormat;
    bool subdivide = false;
    std::optional<SubdivideMode> subdivideMode;
    std::optional<float> subdivideTimeStep;
    std::optional<std::int32_t> subdivideSteps;
};

// Looks for the settings line among the first ten lines of the script at
// `scriptPath`. None when the file cannot be read (a new script) or has no
// settings line there: then nothing changes.
std::optional<RecalledScriptSettings> recallScriptSettings(const std::string& scriptPath);

// The fields of a settings line, given the text after kSettingsPrefix.
RecalledScriptSettings parseScriptSettings(std::string_view text);

// Puts the recalled values into a job's script settings.
void applyRecalledSettings(const RecalledScriptSettings& recalled, ConversionJob& job);

// The seconds-per-frame text of the settings line, six significant digits:
// "1/30" for values below 1e-10 (no usable rate), "1/<n>" for values below 1
// whose reciprocal is a whole number, otherwise the number itself.
std::string secondsPerFrameText(double secondsPerFrame);

// Reads a seconds-per-frame text: "a/b" (two numbers around a "/") or one
// number, trailing text ignored. None when it holds no such numbers or the
// result is not a positive, usable number, so the caller keeps its value.
std::optional<double> parseSecondsPerFrameText(std::string_view text);

}  // namespace vx
