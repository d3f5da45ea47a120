#include "ui/script_dialog.h"

#include <cmath>
#include <utility>

#include "core/number_format.h"
#include "core/output_paths.h"
#include "scene/envelope.h"
#include "scene/script_settings.h"
#include "ui/number_text.h"

namespace vx::ui {

namespace {

// Only a positive, finite value is usable; anything else keeps the previous
// value and asks again.
bool applySecondsPerFrame(ScriptDialog& values, ScriptPlatform& platform) {
    auto parsed = parseSecondsPerFrameText(values.spfText);
    if (!parsed) {
        platform.error(kEnterNumber, {});
        platform.focus(ScriptControl::SecondsPerFrameBox);
        return false;
    }
    values.secondsPerFrame = *parsed;
    values.spfSource = values.spfText;
    return true;
}

}  // namespace

ScriptDialog scriptDialogFor(const ConversionJob& f) {
    ScriptDialog v;
    v.scenePath = f.scenePath;
    v.scriptPath = f.scriptPath;
    v.epoch = f.epoch;
    v.secondsPerFrame = f.secondsPerFrame;
    v.scriptFormat = f.scriptFormat;
    v.subdivide = f.subdivide;
    v.subdivideMode = f.subdivideMode;
    v.subdivideSteps = f.subdivideSteps;
    v.subdivideTimeStep = f.subdivideTimeStep;
    v.modelType = f.modelType;
    return v;
}

void takeScriptSettings(const ScriptDialog& v, ConversionJob& f) {
    f.scenePath = v.scenePath;
    f.scriptPath = v.scriptPath;
    f.epoch = v.epoch;
    f.secondsPerFrame = v.secondsPerFrame;
    f.scriptFormat = v.scriptFormat.value_or(ScriptFormat::Standard);
    f.subdivide = v.subdivide;
    f.subdivideMode = v.subdivideMode;
    f.subdivideSteps = v.subdivideSteps;
    f.subdivideTimeStep = v.subdivideTimeStep;
}

int readScriptControls(ScriptDialog& values, ScriptPlatform& platform) {
    const ScriptControls c = platform.readControls();
    auto refuse = [&](std::string_view message, ScriptControl box) {
        platform.error(message, {});
        platform.focus(box);
        return 1;
    };
    values.scenePath = c.scenePath;
    values.scriptPath = c.scriptPath;
    auto epoch = parseNumberText(c.epoch);
    if (!epoch || !isUsableEpoch(*epoch)) return refuse(kEnterNumber, ScriptControl::EpochBox);
    values.epoch = *epoch;
    values.spfText = c.secondsPerFrame;
    values.scriptFormat = c.scriptFormat;
    values.subdivide = c.subdivide;
    values.subdivideMode = c.subdivideMode;
    auto steps = parseIntegerText(c.subdivideSteps);
    if (!steps) return refuse(kEnterInteger, ScriptControl::SlicesBox);
    values.subdivideSteps = *steps;
    // The step is kept in single precision; past its range it is no number.
    auto timeStep = parseNumberText(c.subdivideTimeStep);
    if (!timeStep || !std::isfinite(toSingle(*timeStep))) return refuse(kEnterNumber, ScriptControl::TimeStepBox);
    values.subdivideTimeStep = toSingle(*timeStep);
    return 0;
}

void showScriptValues(const ScriptDialog& values, ScriptPlatform& platform) {
    ScriptControls c;
    c.scenePath = values.scenePath;
    c.scriptPath = values.scriptPath;
    c.epoch = formatNumber(values.epoch, 15);
    c.secondsPerFrame = values.spfText;
    c.scriptFormat = values.scriptFormat;
    c.subdivide = values.subdivide;
    c.subdivideMode = values.subdivideMode;
    appendInt(c.subdivideSteps, values.subdivideSteps);
    c.subdivideTimeStep = formatNumber(values.subdivideTimeStep, 6);
    platform.showControls(c);
}

namespace {

void showAll(ScriptDialog& values, ScriptPlatform& platform) {
    showScriptValues(values, platform);
    updateSubdivideControls(values, platform);
}

}  // namespace

void initScriptDialog(ScriptDialog& values, ScriptPlatform& platform) {
    showScriptValues(values, platform);
    readScriptControls(values, platform);
    if (values.secondsPerFrame < 1e-10) {
        values.spfText = "1/30";
        values.secondsPerFrame = 1.0 / 30.0;
    } else {
        // "1/30 " for one over a whole number, "0.4 " otherwise.
        values.spfText = secondsPerFrameText(values.secondsPerFrame) + ' ';
    }
    values.spfSource = values.spfText;
    showAll(values, platform);
}

namespace {

void takeScene(ScriptDialog& values, ScriptPlatform& platform, std::string scene) {
    values.scenePath = std::move(scene);
    if (auto script = deriveScriptPath(values.scenePath, scriptExtension(values.modelType))) {
        values.scriptPath = std::move(*script);
        recallSettingsOf(values);
    }
    showAll(values, platform);
}

}  // namespace

void browseScene(ScriptDialog& values, ScriptPlatform& platform) {
    readScriptControls(values, platform);
    auto chosen = platform.pickOpenFile({values.scenePath, ".lws", kSceneFilters, "Choose the LightWave scene"});
    if (chosen) takeScene(values, platform, std::move(*chosen));
}

bool dropScene(ScriptDialog& values, ScriptPlatform& platform, const std::vector<std::string>& paths) {
    std::optional<std::string> scene = firstWithExtension(paths, ".lws");
    if (!scene) return false;
    readScriptControls(values, platform);
    takeScene(values, platform, std::move(*scene));
    return true;
}

void browseScript(ScriptDialog& values, ScriptPlatform& platform) {
    readScriptControls(values, platform);
    auto chosen = platform.pickSaveFile({values.scriptPath, "", kScriptFilters, "Choose the articulation script to write"});
    if (!chosen) return;
    values.scriptPath = *chosen;
    recallSettingsOf(values);
    showAll(values, platform);
}

void parseSecondsPerFrame(ScriptDialog& values, ScriptPlatform& platform) {
    readScriptControls(values, platform);
    applySecondsPerFrame(values, platform);
}

void updateSubdivideControls(ScriptDialog& values, ScriptPlatform& platform) {
    readScriptControls(values, platform);
    const bool byTimeStep = values.subdivideMode == SubdivideMode::ByTimeStep;
    platform.setControlEnabled(ScriptControl::ByTimeStep, values.subdivide);
    platform.setControlEnabled(ScriptControl::BySlices, values.subdivide);
    platform.setControlEnabled(ScriptControl::TimeStepBox, values.subdivide && byTimeStep);
    platform.setControlEnabled(ScriptControl::SlicesBox, values.subdivide && !byTimeStep);
}

bool closeScriptDialog(ScriptDialog& values, ScriptPlatform& platform) {
    if (readScriptControls(values, platform) != 0) return false;
    // Enter in the box, or a click on "Close" that never took the focus,
    // leaves a typed time unparsed.
    if (values.spfText != values.spfSource && !applySecondsPerFrame(values, platform)) return false;
    return true;
}

void recallSettingsOf(ScriptDialog& values) {
    const auto recalled = recallScriptSettings(values.scriptPath);
    if (!recalled) return;
    if (recalled->epoch) values.epoch = *recalled->epoch;
    if (recalled->spfText) values.spfText = *recalled->spfText;
    if (recalled->secondsPerFrame) {
        values.secondsPerFrame = *recalled->secondsPerFrame;
        values.spfSource = values.spfText;
    }
    if (recalled->scriptFormat) values.scriptFormat = recalled->scriptFormat;
    values.subdivide = recalled->subdivide;
    if (recalled->subdivideMode) values.subdivideMode = *recalled->subdivideMode;
    if (recalled->subdivideTimeStep) values.subdivideTimeStep = *recalled->subdivideTimeStep;
    if (recalled->subdivideSteps) values.subdivideSteps = *recalled->subdivideSteps;
}

}  // namespace vx::ui
