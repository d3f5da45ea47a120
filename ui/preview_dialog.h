#pragma once
// The preview window's values and actions, free of any toolkit: the model
// just converted, one slider for each articulation line that moves
// something, the view chosen, and the drawing redone as they change.

#include <string>
#include <string_view>
#include <vector>

#include "mdl/mdl_model.h"
#include "mdl/mdl_pose.h"
#include "preview/image.h"
#include "preview/view.h"
#include "core/message_sink.h"

namespace vx::ui {

inline constexpr std::string_view kPreviewTitle = "Model Preview";

// A slider's steps: its position runs from 0 (the line's minimum) to this (its maximum).
inline constexpr int kSliderSteps = 1000;

struct PreviewSlider {
    std::string key;  // "Articulation.Transformation"
    double minimum = 0, maximum = 0;
    int position = 0;  // 0 to kSliderSteps
};

struct PreviewDialog {
    MdlModel model;
    std::vector<PreviewSlider> sliders;
    ViewKind view = ViewKind::ThreeQuarter;
    int size = 480;  // pixels across the drawing
};

// The window picks no files: it shows messages and the drawing.
class PreviewPlatform : public MessageSink {
public:
    virtual void showPicture(const RgbImage& picture) = 0;
};

// Reads the model and makes a slider for each line, at its default; 0, or 1
// after the reader's message.
int openPreview(const std::string& mdlPath, PreviewDialog& dialog, MessageSink& sink);

// A slider's value at its position, and the pose of them all.
double sliderValue(const PreviewSlider& slider);
MdlPose previewPose(const PreviewDialog& dialog);

// Draws the model at the sliders' pose in the chosen view and shows it; a
// model that cannot be drawn is reported and leaves the picture as it was.
void redrawPreview(const PreviewDialog& dialog, PreviewPlatform& platform);
void sliderMoved(PreviewDialog& dialog, std::size_t slider, int position, PreviewPlatform& platform);
void viewChosen(PreviewDialog& dialog, ViewKind view, PreviewPlatform& platform);

}  // namespace vx::ui
