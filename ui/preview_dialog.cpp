#include "ui/preview_dialog.h"

#include <algorithm>
#include <cmath>

#include "mdl/read_mdl.h"
#include "preview/preview_sheet.h"

namespace vx::ui {

namespace {

constexpr Rgb kBackground{34, 38, 46};

}  // namespace

int openPreview(const std::string& mdlPath, PreviewDialog& dialog, MessageSink& sink) {
    dialog.sliders.clear();
    if (loadMdlFile(mdlPath, dialog.model, sink) != 0) return 1;
    for (const PoseLine& l : poseLines(dialog.model)) {
        const MdlTransformation& t = *l.line;
        const double low = std::min(t.minimum, t.maximum), high = std::max(t.minimum, t.maximum);
        if (!isVisibleTransformation(t.kind) || !(low < high)) continue;
        const double at = std::clamp((t.defaultValue - low) / (high - low), 0.0, 1.0);
        dialog.sliders.push_back({l.key, low, high, static_cast<int>(std::lround(at * kSliderSteps))});
    }
    return 0;
}

double sliderValue(const PreviewSlider& slider) {
    const double at = std::clamp(slider.position, 0, kSliderSteps) / double(kSliderSteps);
    return slider.minimum + (slider.maximum - slider.minimum) * at;
}

MdlPose previewPose(const PreviewDialog& dialog) {
    MdlPose pose;
    for (const PreviewSlider& s : dialog.sliders) pose[s.key] = sliderValue(s);
    return pose;
}

void redrawPreview(const PreviewDialog& dialog, PreviewPlatform& platform) {
    RgbImage picture;
    std::string why;
    if (renderView(dialog.model, previewPose(dialog), dialog.view, dialog.size, kBackground, picture, why) != 0) {
        platform.error("Can't draw the model.", {}, why);
        return;
    }
    platform.showPicture(picture);
}

void sliderMoved(PreviewDialog& dialog, std::size_t slider, int position, PreviewPlatform& platform) {
    if (slider >= dialog.sliders.size()) return;
    dialog.sliders[slider].position = std::clamp(position, 0, kSliderSteps);
    redrawPreview(dialog, platform);
}

void viewChosen(PreviewDialog& dialog, ViewKind view, PreviewPlatform& platform) {
    dialog.view = view;
    redrawPreview(dialog, platform);
}

}  // namespace vx::ui
