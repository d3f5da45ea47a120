#include "ui/main_dialog.h"

#include <array>
#include <filesystem>
#include <fstream>

#include "core/byte_reader.h"
#include "core/chunk_file.h"
#include "dispatch/run_job.h"
#include "core/mdl_text.h"
#include "core/model_type.h"
#include "core/model_type_recall.h"
#include "ui/script_dialog.h"
#include "core/output_paths.h"

namespace vx::ui {

namespace {

// Only the form type matters here; the whole object is loaded by the run.
// A pipe or device named in the box would block the dialog on opening, so
// only regular files are looked into.
bool isLayeredObject(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::array<std::uint8_t, 16> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const Bytes read(head.data(), static_cast<std::size_t>(in.gcount()));
    const ChunkId form = peekU4(read, 8);
    return form == makeId("LWO2") || form == makeId("LWO3");
}

void enableOutputControls(MainPlatform& platform, bool enabled) {
    platform.setControlEnabled(MainControl::OutputLabel, enabled);
    platform.setControlEnabled(MainControl::OutputBrowse, enabled);
    platform.setControlEnabled(MainControl::OutputEdit, enabled);
}

// A new output name for the current input, and the model type it was last
// converted with.
void followInput(MainDialog& dialog) {
    ConversionJob& f = dialog.fields;
    if (!f.convert) return;
    if (deriveOutputPath(f.inputPath, f.outputPath)) recallModelType(dialog, f.outputPath);
    dialog.derivedFrom = f.inputPath;
}

// The object named in the fields decides the form-dependent controls and the derived paths.
void takeInput(MainDialog& dialog, MainPlatform& platform) {
    checkObjectForm(dialog, platform);
    followInput(dialog);
    platform.showFields(dialog.fields);
}

// What leaving the input box does, for a run that starts while the box
// still holds a name typed since the output was last derived.
void catchUpWithInput(MainDialog& dialog, MainPlatform& platform) {
    if (dialog.fields.inputPath == dialog.derivedFrom) return;
    takeInput(dialog, platform);
}

ConversionStatus runConversion(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    catchUpWithInput(dialog, platform);
    platform.setBusy(true);
    const ConversionStatus status = validateAndRun(dialog.fields, platform);
    platform.setBusy(false);
    dialog.previewModel = status == 0 && dialog.fields.convert ? dialog.fields.outputPath : std::string();
    platform.setControlEnabled(MainControl::Preview, !dialog.previewModel.empty());
    return status;
}

}  // namespace

MainDialog startMainDialog(std::string_view argumentText) {
    MainDialog dialog;
    ConversionJob& f = dialog.fields;
    f.inputPath = argumentText;
    if (!argumentText.empty() && argumentText.front() == '"') {
        // Only a closing quote is dropped: an unbalanced quote must not cost
        // the path its last character.
        std::string_view unquoted = argumentText.substr(1);
        if (!unquoted.empty() && unquoted.back() == '"') unquoted.remove_suffix(1);
        f.inputPath = unquoted;
    }
    if (!argumentText.empty()) {
        f.outputPath = defaultOutputPath(f.inputPath);
        recallModelType(dialog, f.outputPath);
    }
    dialog.derivedFrom = f.inputPath;
    return dialog;
}

bool deriveOutputPath(const std::string& input, std::string& output) {
    if (input.empty()) return false;
    output = defaultOutputPath(input);
    return true;
}

void recallModelType(MainDialog& dialog, const std::string& mdlPath) {
    if (auto type = readModelTypeFromMdl(mdlPath)) dialog.fields.modelType = *type;
}

void checkObjectForm(MainDialog& dialog, MainPlatform& platform) {
    if (isLayeredObject(dialog.fields.inputPath)) {
        if (!dialog.advancedRevealed) {
            dialog.advancedRevealed = true;
            platform.setShown(MainControl::Convert, true);
            platform.setShown(MainControl::Articulate, true);
            platform.setShown(MainControl::Details, true);
        }
        platform.setControlEnabled(MainControl::Convert, true);
        platform.setControlEnabled(MainControl::Articulate, true);
        return;
    }
    if (!dialog.advancedRevealed) return;
    // Only LWO2 and LWO3 objects can skip the model file or yield a script.
    platform.setControlEnabled(MainControl::Convert, false);
    platform.setControlEnabled(MainControl::Articulate, false);
    dialog.fields.convert = true;
    dialog.fields.articulate = false;
    enableOutputControls(platform, true);
    platform.setControlEnabled(MainControl::Details, false);
}

void initMainDialog(MainDialog& dialog, MainPlatform& platform) {
    platform.showFields(dialog.fields);
    platform.addWindowMenuEntries(kAdvancedOptionsEntry, kAboutEntry);
    platform.setProgramIcon();
    dialog.advancedRevealed = false;
    for (MainControl c : {MainControl::SortLayers, MainControl::AllImageFormats, MainControl::Convert,
                          MainControl::Articulate, MainControl::Details})
        platform.setShown(c, false);
    platform.setControlEnabled(MainControl::SortLayers, false);
    platform.setControlEnabled(MainControl::Convert, false);
    platform.setControlEnabled(MainControl::Articulate, false);
    platform.setControlEnabled(MainControl::Details, dialog.fields.articulate);
    platform.setControlEnabled(MainControl::Preview, false);
    checkObjectForm(dialog, platform);
    platform.showFields(dialog.fields);
    platform.setTitle(kProgramBanner);
}

void browseInput(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    auto chosen = platform.pickOpenFile({dialog.fields.inputPath, ".LWO", kObjectFilters, "Choose the LightWave object to convert"});
    if (!chosen) return;
    dialog.fields.inputPath = *chosen;
    takeInput(dialog, platform);
}

bool dropInput(MainDialog& dialog, MainPlatform& platform, const std::vector<std::string>& paths) {
    std::optional<std::string> object = firstWithExtension(paths, ".lwo");
    if (!object) return false;
    platform.readControls(dialog.fields);
    dialog.fields.inputPath = std::move(*object);
    takeInput(dialog, platform);
    return true;
}

void inputLostFocus(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    takeInput(dialog, platform);
}

void browseOutput(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    auto chosen = platform.pickSaveFile({dialog.fields.outputPath, ".MDL", kModelFilters, "Choose the MDL file to write"});
    if (!chosen) return;
    dialog.fields.outputPath = *chosen;
    recallModelType(dialog, dialog.fields.outputPath);
    platform.showFields(dialog.fields);
}

void convertClicked(MainDialog& dialog, MainPlatform& platform) {
    ConversionJob& f = dialog.fields;
    platform.readControls(f);
    enableOutputControls(platform, f.convert);
    // Ticking again only renames: the model type stays the user's choice.
    if (f.convert && deriveOutputPath(f.inputPath, f.outputPath))
        dialog.derivedFrom = f.inputPath;
    else if (!f.convert)
        f.outputPath.clear();
    platform.showFields(f);
}

void articulateClicked(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    platform.setControlEnabled(MainControl::Details, dialog.fields.articulate);
    if (dialog.fields.articulate) openScriptDialog(dialog, platform);
}

void openScriptDialog(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    ScriptDialog values = scriptDialogFor(dialog.fields);
    if (platform.runScriptDialog(values)) takeScriptSettings(values, dialog.fields);
}

void showAdvancedOptions(MainDialog& dialog, MainPlatform& platform) {
    platform.readControls(dialog.fields);
    for (MainControl c : {MainControl::SortLayers, MainControl::AllImageFormats}) {
        platform.setShown(c, true);
        platform.setControlEnabled(c, true);
    }
    platform.refreshControls();
}

void previewClicked(MainDialog& dialog, MainPlatform& platform) {
    if (!dialog.previewModel.empty()) platform.runPreviewWindow(dialog.previewModel);
}

ConversionStatus pressOk(MainDialog& dialog, MainPlatform& platform) {
    const ConversionStatus status = runConversion(dialog, platform);
    if (status == 0) platform.closeDialog();
    return status;
}

ConversionStatus pressApply(MainDialog& dialog, MainPlatform& platform) {
    const ConversionStatus status = runConversion(dialog, platform);
    if (status == 0) platform.inform(kConversionSuccessful);
    return status;
}

}  // namespace vx::ui
