#include "scene/script_settings.h"

#include <cmath>
#include <limits>

#include "core/number_format.h"
#include "scene/text_lines.h"
#include "scene/text_scan.h"

namespace vx {

namespace {

// The dialog read the script's first lines through a 500-byte buffer and gave
// up after ten of them.
constexpr std::size_t kRecallBuffer = 500;
constexpr int kRecallLines = 10;


}  // namespace

std::optional<RecalledScriptSettings> recallScriptSettings(const std::string& scriptPath) {
    TextLineReader reader(kRecallBuffer);
    if (!reader.open(scriptPath)) return std::nullopt;
    std::string_view line;
    for (int i = 0; i < kRecallLines && reader.next(line); ++i) {
        if (line.substr(0, kSettingsPrefix.size()) == kSettingsPrefix) {
            return parseScriptSettings(line.substr(kSettingsPrefix.size()));
        }
    }
    return std::nullopt;
}

RecalledScriptSettings parseScriptSettings(std::string_view text) {
    RecalledScriptSettings recalled;
    TextScanner scan(text);
    double epoch = 0;
    std::string_view spf;
    int format = 0;
    // The three timing fields come back together or not at all.
    bool timing = scan.literal("Epoch") && scan.readDouble(epoch);
    if (timing) scan.skipSpace();
    timing = timing && scan.literal("SPF") && scan.readWord(spf);
    if (timing) scan.skipSpace();
    timing = timing && scan.literal("Format") && scan.readInt(format);
    if (timing) {
        // A hand-edited "nan" or "inf" epoch would put every row out of time.
        if (isUsableEpoch(epoch)) recalled.epoch = epoch;
        recalled.spfText = std::string(spf) + ' ';
        recalled.secondsPerFrame = parseSecondsPerFrameText(*recalled.spfText);
        recalled.scriptFormat = format == 1 ? ScriptFormat::TabSeparated
                                : format == 2 ? ScriptFormat::CommaSeparated
                                              : ScriptFormat::Standard;
    }

    // Both keywords may stand in the line; the slice count then wins.
    if (std::size_t at = text.find("SubDivTime "); at != std::string_view::npos) {
        recalled.subdivide = true;
        recalled.subdivideMode = SubdivideMode::ByTimeStep;
        TextScanner step(text.substr(at + 11));
        float value = 0;
        if (step.readFloat(value) && std::isfinite(value)) recalled.subdivideTimeStep = value;
    }
    if (std::size_t at = text.find("SubDivSteps "); at != std::string_view::npos) {
        recalled.subdivide = true;
        recalled.subdivideMode = SubdivideMode::BySlices;
        TextScanner steps(text.substr(at + 12));
        int value = 0;
        if (steps.readInt(value) && value >= 1) recalled.subdivideSteps = value;
    }
    return recalled;
}

void applyRecalledSettings(const RecalledScriptSettings& recalled, ConversionJob& job) {
    if (recalled.epoch) job.epoch = *recalled.epoch;
    if (recalled.secondsPerFrame) job.secondsPerFrame = *recalled.secondsPerFrame;
    if (recalled.scriptFormat) job.scriptFormat = *recalled.scriptFormat;
    job.subdivide = recalled.subdivide;
    if (recalled.subdivideMode) job.subdivideMode = *recalled.subdivideMode;
    if (recalled.subdivideTimeStep) job.subdivideTimeStep = *recalled.subdivideTimeStep;
    if (recalled.subdivideSteps) job.subdivideSteps = *recalled.subdivideSteps;
}

std::string secondsPerFrameText(double secondsPerFrame) {
    std::string text;
    if (secondsPerFrame < 1e-10) return "1/30";
    const double perSecond = 1.0 / secondsPerFrame;
    if (secondsPerFrame < 0.9999999999 && perSecond - std::floor(perSecond) < 1e-7) {
        text = "1/";
        appendGeneral(text, perSecond);
    } else {
        appendGeneral(text, secondsPerFrame);
    }
    return text;
}

std::optional<double> parseSecondsPerFrameText(std::string_view text) {
    TextScanner scan(text);
    double value = 0;
    if (text.find('/') != std::string_view::npos) {
        double numerator = 0, denominator = 0;
        if (!scan.readDouble(numerator) || !scan.literal("/") || !scan.readDouble(denominator)) return std::nullopt;
        value = numerator / denominator;
    } else if (!scan.readDouble(value)) {
        return std::nullopt;
    }
    if (!(value > 0) || !isUsableSecondsPerFrame(value)) return std::nullopt;
    return value;
}

bool isUsableEpoch(double epoch) { return std::fabs(epoch) <= std::numeric_limits<float>::max(); }

bool isUsableSecondsPerFrame(double secondsPerFrame) {
    return std::fabs(secondsPerFrame * 30.0) <= std::numeric_limits<float>::max();
}

}  // namespace vx
