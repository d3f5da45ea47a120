#pragma once
// Where a layer's component goes in the model: its layer group, the Refer
// block that puts the group back at the pivot with the layer's articulations,
// model pointing and extra lines, include references, and attach points.

#include <optional>
#include <string>
#include <string_view>

#include "core/job.h"
#include "core/model_type.h"
#include "lwo2/context.h"
#include "lwo2/layer_codes.h"
#include "lwo2/model_summary.h"

namespace vx {

// What the placement steps know of the layer being written.
struct LayerPlacement {
    int number = 0;              // layer number, counted from 1
    LayerName name;              // component name and code string
    std::string_view rawName;    // the LAYR name as stored
    Point3 pivot;                // decoded
    bool pivotNonZero = false;
    std::optional<int> parent;   // LightWave parent's layer number, when the LAYR names one
};

// The attach point that an "A" item of the codes asks for: its component
// ("AP", the layer number, "_" and the label, at most 31 characters), its
// label (the stored name before the "@") and whether "Ae" makes it an
// attach effect.
struct AttachPointName {
    std::string component;
    std::string label;
    bool effect = false;
};
std::optional<AttachPointName> attachPointOf(int number, std::string_view rawName, std::string_view codes);

// When the codes hold an "A" item: appends the attach point component to
// `out`, adds its label to the Attach points list and returns its name.
std::optional<std::string> writeAttachPoint(const LayerPlacement& layer, std::string& out,
                                            ModelSummary& summary);

// Creates the layer's own group and its LightWave parent's group, in that order.
void setUpGroups(Lwo2Context& context, const LayerPlacement& layer);

// Fills the own group (pivot, Refer to the component), walks the codes
// (articulations, pointing, extra lines, includes, orientation) and places
// the layer's Refer block in an include group, the parent's group or
// `mainBody`. The layer's articulations and pointing go into `summary`.
void placeLayer(const ConversionJob& job, Lwo2Context& context, const LayerPlacement& layer, std::string& mainBody,
                ModelSummary& summary);

// Hangs under `mainBody` every non-empty parent group that no written layer
// placed (its layer hidden or absent), so that its children still appear.
void placeOrphanGroups(Lwo2Context& context, std::string& mainBody);

// "\tRefer\n\t\tComponent %s\n\tEndRefer\n"
void appendRefer(std::string& out, std::string_view component);

}  // namespace vx
