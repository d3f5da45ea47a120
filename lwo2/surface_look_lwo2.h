#pragma once
// The look of an LWO2 surface, read from the sub-chunks of its SURF chunk
// and from its image texture blocks.

#include <optional>
#include <string_view>

#include "lwo2/context.h"
#include "lwo2/surface_look.h"

namespace vx {

// Values the surface leaves out stay empty; texture blocks that are no image
// maps (procedural, gradient, shader) or name no channel are left out, the
// others keep the surface's order. Image paths come from the CLIP chunks.
SurfaceLook readSurfaceLook(const Lwo2Context& context, const Lwo2Surface& surface);

// The surface comment (CMNT text), or none when the surface has no CMNT.
std::optional<std::string_view> surfaceComment(const Lwo2Context& context, const Lwo2Surface& surface);

}  // namespace vx
