#include "ui/qt/control_help.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "ui/qt/platform_dialogs.h"

namespace vx::ui {

#define HELP(name, text) {name, QT_TRANSLATE_NOOP("vx::ui::ControlHelp", text)}

const ControlHelp kMainControlHelp[] = {
    HELP("aboutButton", "The program's version and licence"),
    HELP("hintsButton", "How to prepare objects: polygons, smoothing, layers, articulations, textures"),
    HELP("sortLayersCheck", "Convert layers in the order of their numbers rather than the order in the file"),
    HELP("allImageFormatsCheck", "Keep image file extensions in texture names; off, names lose them"),
    HELP("inputBrowseButton", "Choose the LightWave object to convert"),
    HELP("inputEdit", "The LightWave object (.lwo) to convert; you may also drop one on this window"),
    HELP("outputBrowseButton", "Choose the MDL file to write"),
    HELP("outputEdit", "The MDL model file to write; an earlier file is replaced only when the run succeeds"),
    HELP("convertCheck", "Write the MDL model file"),
    HELP("articulateCheck", "Write an articulation script from a LightWave scene"),
    HELP("detailsButton", "The scene, the script and their timing"),
    HELP("modelType0", "LightWave's +Y becomes the model's -Z, +X becomes +Y"),
    HELP("modelType1", "LightWave's +Y becomes the model's +Z, +X becomes -Y"),
    HELP("modelType2", "LightWave's +Y becomes the model's +Z"),
    HELP("modelType3", "Keep LightWave's axes"),
    HELP("windowMenuButton", "Advanced options and the about box"),
    HELP("okButton", "Convert, then close the window"),
    HELP("applyButton", "Convert and keep the window open"),
    HELP("cancelButton", "Close the window without converting"),
    HELP("previewButton", "Draw the model just written, with a slider for each articulation"),
};
const std::size_t kMainControlHelpCount = std::size(kMainControlHelp);

const ControlHelp kPreviewControlHelp[] = {
    HELP("viewCombo", "The direction the model is seen from"),
    HELP("closeButton", "Close the preview"),
};
const std::size_t kPreviewControlHelpCount = std::size(kPreviewControlHelp);

const ControlHelp kScriptControlHelp[] = {
    HELP("sceneBrowseButton", "Choose the LightWave scene (.lws)"),
    HELP("sceneEdit", "The LightWave scene whose keys become the script; you may also drop one on this window"),
    HELP("scriptBrowseButton", "Choose the articulation script to write"),
    HELP("scriptEdit", "The articulation script to write"),
    HELP("subdivideCheck", "Split curved key intervals into straight pieces"),
    HELP("byTimeStepRadio", "Pieces of a fixed length in seconds"),
    HELP("bySlicesRadio", "A fixed number of pieces per interval"),
    HELP("timeStepEdit", "The length of one piece, in seconds"),
    HELP("slicesEdit", "The number of pieces per interval"),
    HELP("epochEdit", "The scenario time, in seconds, of the scene's first frame"),
    HELP("formatCombo", "The script's layout"),
    HELP("secondsPerFrameCombo", "Scenario seconds per LightWave frame: a number or a fraction such as 1/30"),
    HELP("closeButton", "Keep these settings and close the window"),
    HELP("cancelButton", "Close the window and forget the changes"),
};
const std::size_t kScriptControlHelpCount = std::size(kScriptControlHelp);

#undef HELP

void applyControlHelp(QWidget& window, std::span<const ControlHelp> help) {
    for (const ControlHelp& h : help) {
        QWidget* control = window.findChild<QWidget*>(QString::fromLatin1(h.objectName));
        if (control) control->setToolTip(QCoreApplication::translate("vx::ui::ControlHelp", h.toolTip));
    }
}

std::vector<std::string> droppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(qStringToPath(url.toLocalFile()));
    }
    return paths;
}

}  // namespace vx::ui
