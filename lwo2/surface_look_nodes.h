#pragma once
// The look of an LWO3 surface. LightWave keeps it in the surface's node
// graph: the material node wired into the input "Material" of the node
// "Surface" gives the values, its inputs' texture layers and the Image
// nodes wired into its inputs give the textures.

#include "core/chunk_file.h"
#include "core/nested_form.h"
#include "lwo2/node_graph.h"
#include "lwo2/surface_look.h"

namespace vx {

// Sets what the wired material gives, over what `look` holds already.
// "Standard" maps one for one; "Principled BSDF" gives diffuse 1 and a
// glossiness of 1 - "Roughness"; any other material gives only its colour
// and is named in `look.partlyReadMaterial`. Without a wired material the
// look stays as it is.
void applyWiredMaterial(const ChunkFile& file, const NodeGraph& graph, SurfaceLook& look);

// The textures of the FORM BLOKs among `parent`'s children that are image
// maps, in order. A block's channel is `channel` when given (a material
// input's texture layers belong to that input), else the one its IMAP names.
void readFormBlocks(const ChunkFile& file, const FormRun& parent, std::optional<TextureChannel> channel,
                    SurfaceLook& look);

}  // namespace vx
