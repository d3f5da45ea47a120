#pragma once
// The main dialog's fields and event handlers, free of any toolkit. Every
// handler first copies the controls into the fields and, when it changes
// fields, copies them back into the controls at the end.

#include <string>
#include <string_view>

#include "core/job.h"
#include "ui/dialog_platform.h"

namespace vx::ui {

inline constexpr std::string_view kMainHeading = "Lightwave to Korvan Model Converter";
inline constexpr std::string_view kAdvancedOptionsEntry = "Advanced Options...";
inline constexpr std::string_view kAboutEntry = "&About Vertexion...";
inline constexpr std::string_view kConversionSuccessful = "Conversion successful.";
inline const FileFilters kObjectFilters = {{"Lightwave Objects", {"*.lwo"}}, kAllFilesFilter};
inline const FileFilters kModelFilters = {{"Korvan Model Files", {"*.mdl"}}, kAllFilesFilter};

// The controls whose state changes while the dialog is open.
enum class MainControl {
    SortLayers, AllImageFormats, Convert, Articulate, Details, OutputLabel, OutputBrowse, OutputEdit, Preview
};

struct MainDialog {
    // Every option of a run, with the dialog's defaults; a job is built from
    // them for each run. The script fields are edited in the script dialog.
    ConversionJob fields;
    // "Convert", "Articulate" and "Details..." have been shown for an LWO2 or LWO3
    // input; they stay visible from then on.
    bool advancedRevealed = false;
    // The input text the output name was last derived from. Enter presses
    // OK without the input box ever losing the focus, so a run first
    // catches up with an input typed since.
    std::string derivedFrom;
    // The model the last run wrote, for "Preview"; empty when the last run
    // failed or wrote none.
    std::string previewModel;
};

struct ScriptDialog;

class MainPlatform : public DialogPlatform {
public:
    // The two copies between the controls and the fields they are bound to
    // (model type, input and output paths, the four check boxes).
    virtual void readControls(ConversionJob& fields) = 0;
    virtual void showFields(const ConversionJob& fields) = 0;
    virtual void setShown(MainControl control, bool shown) = 0;
    virtual void setControlEnabled(MainControl control, bool enabled) = 0;
    // Redraws the window after controls were revealed.
    virtual void refreshControls() = 0;
    virtual void setTitle(std::string_view title) = 0;
    virtual void setProgramIcon() = 0;
    virtual void addWindowMenuEntries(std::string_view advancedOptions, std::string_view about) = 0;
    // A wait cursor while a conversion runs inside a handler.
    virtual void setBusy(bool busy) = 0;
    // Runs the script dialog modally on `values`; true when it was closed
    // with its confirming button.
    virtual bool runScriptDialog(ScriptDialog& values) = 0;
    // Shows the preview window of the model file modally.
    virtual void runPreviewWindow(const std::string& mdlPath) = 0;
    // Ends the dialog; the program ends with it.
    virtual void closeDialog() = 0;
};

// The fields at start-up from the program's whole argument text, possibly
// enclosed in double quotes.
MainDialog startMainDialog(std::string_view argumentText);

// "ship.LWO" gives "ship.mdl" and any other name gets ".mdl" appended, so
// the model never keeps the name of the object before. An empty input leaves
// `output` unchanged. Returns whether it applied.
bool deriveOutputPath(const std::string& input, std::string& output);

// The model type of an existing model file, when it names one.
void recallModelType(MainDialog& dialog, const std::string& mdlPath);

// Reveals the LightWave 6+ options for an LWO2 or LWO3 input, and resets them for any
// other once they have been revealed.
void checkObjectForm(MainDialog& dialog, MainPlatform& platform);

// Once the dialog's window exists.
void initMainDialog(MainDialog& dialog, MainPlatform& platform);

void browseInput(MainDialog& dialog, MainPlatform& platform);
// Files dropped on the dialog: the first ".lwo" among them becomes the
// input, as if picked; false when there is none.
bool dropInput(MainDialog& dialog, MainPlatform& platform, const std::vector<std::string>& paths);
void inputLostFocus(MainDialog& dialog, MainPlatform& platform);
void browseOutput(MainDialog& dialog, MainPlatform& platform);
void convertClicked(MainDialog& dialog, MainPlatform& platform);
void articulateClicked(MainDialog& dialog, MainPlatform& platform);
void openScriptDialog(MainDialog& dialog, MainPlatform& platform);
void showAdvancedOptions(MainDialog& dialog, MainPlatform& platform);
void previewClicked(MainDialog& dialog, MainPlatform& platform);

// OK runs the conversion and closes the dialog when it finished; Apply runs
// it and says so. Both return the run's status.
ConversionStatus pressOk(MainDialog& dialog, MainPlatform& platform);
ConversionStatus pressApply(MainDialog& dialog, MainPlatform& platform);

}  // namespace vx::ui
