#pragma once
// The articulation script dialog's values and actions, free of any toolkit:
// the scene to read, the script to write and the script's timing settings.

#include <optional>
#include <string>
#include <string_view>

#include "core/job.h"
#include "ui/dialog_platform.h"

namespace vx::ui {

inline constexpr std::string_view kScriptDialogTitle = "Articulation Script Converter";
inline const FileFilters kSceneFilters = {{"Lightwave Scenes", {"*.lws"}}, kAllFilesFilter};
inline const FileFilters kScriptFilters = {{"Model Articulations", {"*.*ma"}}, kAllFilesFilter};
inline constexpr std::string_view kEnterNumber = "Please enter a number.";
inline constexpr std::string_view kEnterInteger = "Please enter an integer.";

struct ScriptDialog {
    std::string scenePath;
    std::string scriptPath;
    double epoch = 0;
    std::string spfText = "1";  // the seconds-per-frame box's text
    double secondsPerFrame = 1.0 / 30.0;
    std::optional<ScriptFormat> scriptFormat;  // none: nothing chosen in the list
    bool subdivide = false;
    SubdivideMode subdivideMode = SubdivideMode::BySlices;
    int subdivideSteps = 20;
    float subdivideTimeStep = 0.25f;
    // The main dialog's model type, which names a script after its scene.
    ModelType modelType = ModelType::SpacecraftAircraft;
    // The text secondsPerFrame was last taken from or shown as; "Close" parses
    // the box only when its text differs, so an untouched value keeps its
    // full precision.
    std::string spfSource;
};

// The controls' contents as the user sees them.
struct ScriptControls {
    std::string scenePath;
    std::string scriptPath;
    std::string epoch;
    std::string secondsPerFrame;
    std::optional<ScriptFormat> scriptFormat;
    bool subdivide = false;
    SubdivideMode subdivideMode = SubdivideMode::BySlices;
    std::string subdivideSteps;
    std::string subdivideTimeStep;
};

enum class ScriptControl { ByTimeStep, BySlices, TimeStepBox, SlicesBox, EpochBox, SecondsPerFrameBox };

class ScriptPlatform : public DialogPlatform {
public:
    virtual ScriptControls readControls() = 0;
    virtual void showControls(const ScriptControls& controls) = 0;
    virtual void setControlEnabled(ScriptControl control, bool enabled) = 0;
    virtual void focus(ScriptControl control) = 0;
};

// The dialog's values from the main dialog's fields, and back on "Close".
ScriptDialog scriptDialogFor(const ConversionJob& fields);
void takeScriptSettings(const ScriptDialog& values, ConversionJob& fields);

// Copies the controls into the values, checking the number boxes in the
// dialog's order; at the first bad one it says so, puts the focus there and
// returns 1, leaving that value and the ones after it as they were.
int readScriptControls(ScriptDialog& values, ScriptPlatform& platform);
void showScriptValues(const ScriptDialog& values, ScriptPlatform& platform);

void initScriptDialog(ScriptDialog& values, ScriptPlatform& platform);
void browseScene(ScriptDialog& values, ScriptPlatform& platform);
void browseScript(ScriptDialog& values, ScriptPlatform& platform);
// Files dropped on the dialog: the first ".lws" among them becomes the scene,
// as if picked; false when there is none.
bool dropScene(ScriptDialog& values, ScriptPlatform& platform, const std::vector<std::string>& paths);
// The seconds-per-frame box lost the focus.
void parseSecondsPerFrame(ScriptDialog& values, ScriptPlatform& platform);
void updateSubdivideControls(ScriptDialog& values, ScriptPlatform& platform);
// True when the values are good and the dialog may end.
bool closeScriptDialog(ScriptDialog& values, ScriptPlatform& platform);

// The settings the script at scriptPath was written with, when it has a
// settings line; a new script changes nothing.
void recallSettingsOf(ScriptDialog& values);

}  // namespace vx::ui
