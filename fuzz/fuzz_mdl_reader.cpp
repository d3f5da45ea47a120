// The bytes as a model file read back and, when they make a small model, one
// small view of it drawn at rest and one with every articulation line at its
// maximum: the reader must refuse or accept any text, and the renderer draw
// whatever the reader accepts.

#include <string>

#include "fuzz/fuzz_support.h"
#include "mdl/read_mdl.h"
#include "preview/preview_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vxfuzz::QuietSink sink;
    vx::MdlModel model;
    if (vx::readMdlText(vxfuzz::asText(data, size), "model.mdl", model, sink) != 0) return 0;
    // Drawing costs far more than reading under the sanitizers; large models
    // only slow the search down.
    std::size_t work = 0;
    vx::MdlPose extreme;
    for (const vx::MdlComponent& c : model.components) {
        for (const vx::MdlMesh& m : c.meshes) work += m.vertices.size() + m.indices.size();
        for (const vx::MdlRefer& r : c.refers)
            if (r.articulation)
                for (const vx::MdlTransformation& t : r.articulation->transformations)
                    extreme[vx::poseKey(r.articulation->name, t.name)] = t.maximum;
    }
    if (work > 20000) return 0;
    const vx::ViewKind view = vx::kSheetViews[vxfuzz::optionDraw(vxfuzz::asText(data, size)) % 4];
    vx::RgbImage image;
    std::string why;
    (void)vx::renderView(model, {}, view, 48, {}, image, why);
    (void)vx::renderView(model, extreme, vx::ViewKind::ThreeQuarter, 48, {}, image, why);
    return 0;
}
