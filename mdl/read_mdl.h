#pragma once
// Reads a model file written by the converter (LightWave 5 or 6+ objects)
// back into an MdlModel (mdl/mdl_model.h). Reading is strict: the file must
// have the shape the converter gives it, and the first line that does not is
// reported as
//
//     error "Can't read model file."  path: the model's name
//     reason "line 12: expected EndComponent"
//
// with the line's number and what had to stand there. Beyond the line shapes
// it checks that every Refer names a component of the file, that no
// component contains itself, that exactly one component is the Root and that
// BoundRadius follows it, and that every polygon's vertex numbers lie within
// its mesh. A component name defined twice is a warning; references take the
// first.
//
// Cost follows the text: counts written in the file ("NumVerts", "NumPolys",
// a polygon's vertex count) never reserve more than the rest of the text can
// hold, and nothing is read past the text's end.
//
// Typical use, e.g. for a preview of a model just written:
//
//     vx::MdlModel model;
//     if (vx::loadMdlFile(path, model, sink) != 0) return 1;  // already reported
//     // see preview/preview_sheet.h: vx::writePreviewSheet(model, {}, pngPath, sink)

#include <string>
#include <string_view>

#include "core/message_sink.h"
#include "mdl/mdl_model.h"

namespace vx {

// Reads the model held in `text`; `name` is the file the messages are about.
// 0 with `model` filled, or 1 after an error (then `model` is left empty).
int readMdlText(std::string_view text, std::string_view name, MdlModel& model, MessageSink& sink);

// The same for a file on disk: "Can't read model file." with the system's
// reason when it cannot be opened or read, and "Out of memory" when it does
// not fit.
int loadMdlFile(const std::string& path, MdlModel& model, MessageSink& sink);

}  // namespace vx
