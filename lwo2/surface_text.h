#pragma once
// The attribute text of a surface: the run of lines, each opened by two
// tabs, that opens every Points and PolygonMesh block of the surface. Face
// colour, emission, diffuse lighting, smoothing, culling, translucency,
// specularity, shininess, up to two colour textures and a bump texture, and
// what the surface comment asks for: a colour articulation, a solar panel
// group and colour-keyed textures.

#include <string>
#include <string_view>

#include "lwo2/model_summary.h"
#include "lwo2/surface_look.h"

namespace vx {

// The text for `look` in the layer `layerNumber`, which names the colour
// articulation. Adds the colour articulation, the texture images and the
// solar panel group it writes to `summary`. Without a colour the surface is
// plain grey and nothing else is written.
std::string attributeText(const SurfaceLook& look, int layerNumber, bool allImageFormats, ModelSummary& summary);

// The name written for an image path: its last component, printable
// characters only, at most 39, without the extension unless
// `allImageFormats`. Empty when nothing is left.
std::string imageName(std::string_view path, bool allImageFormats);

}  // namespace vx
