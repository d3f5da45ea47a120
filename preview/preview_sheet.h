#pragma once
// Pictures of a model as the scenario viewer places it, drawn without any
// graphics hardware or display: a sheet of four views (front, side, top,
// three-quarter, each labelled, each with the model's axes), a caption with
// the model type and bound radius, and small frames of every articulation at
// its minimum and maximum. The model comes from mdl/read_mdl.h.
//
// To write a sheet beside a model the run has just written (the command
// line's --preview, the dialog's Preview button):
//
//     vx::PreviewOptions options;             // defaults: rest pose, frames on
//     options.pose["Dish.Azimuth"] = 90;      // optional
//     status = vx::previewModelFile("ship.mdl", options, "ship.png", sink);
//
// or, with a model already read, vx::writePreviewSheet(model, options,
// "ship.png", sink). Both return 0, or 1 after reporting through the sink:
// "Can't read model file." (see read_mdl.h), "Can't draw the model." with
// the reason, "Can't open output file." and "Can't write output file." with
// the system's reason, or "Out of memory". The PNG is written like every
// output: to a temporary beside the target, renamed over it on success.

#include <string>

#include "core/message_sink.h"
#include "mdl/mdl_model.h"
#include "mdl/mdl_pose.h"
#include "preview/image.h"
#include "preview/view.h"

namespace vx {

struct MemoryFiles;

struct PreviewOptions {
    // Values by "Articulation.Transformation"; held within each range, and
    // the rest at their defaults.
    MdlPose pose;
    int viewSize = 360;               // pixels across each of the four square views (64 to 2048)
    bool articulationFrames = true;   // the minimum and maximum frames below the views
    int frameSize = 144;              // pixels across each frame (48 to the view size)
    int maxFrames = 64;               // frames beyond these (at most 1024) are counted in a note, not drawn
    Rgb background{34, 38, 46};
    MemoryFiles* files = nullptr;     // when set, models are read from and sheets put into this store
};

// One view alone, `size` pixels square, with its axis triad: 0, or 1 with
// `why` when the model cannot be drawn (its references would place more
// geometry than the file holds many times over).
int renderView(const MdlModel& model, const MdlPose& pose, ViewKind view, int size, Rgb background,
               RgbImage& out, std::string& why);

// The four views and the caption.
int composeSheet(const MdlModel& model, const PreviewOptions& options, RgbImage& sheet, std::string& why);

// Adds below `sheet` a frame for each articulation line that moves geometry
// or colour, at its minimum and at its maximum, the others at the pose; each
// labelled "Articulation.Transformation" and its value.
int addArticulationFrames(const MdlModel& model, const PreviewOptions& options, RgbImage& sheet, std::string& why);

int writePreviewSheet(const MdlModel& model, const PreviewOptions& options, const std::string& pngPath,
                      MessageSink& sink);

// Reads the model file, then writes its sheet.
int previewModelFile(const std::string& mdlPath, const PreviewOptions& options, const std::string& pngPath,
                     MessageSink& sink);

}  // namespace vx
