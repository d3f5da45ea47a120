#pragma once
// The look of an LWO2 surface as the attribute lines that open each of its
// Points and PolygonMesh blocks: face colour, emission, shading, culling,
// translucency, specularity, shininess and up to three texture blocks. The
// surface comment can ask for a colour articulation ("ColorTranslate"), a
// solar panel group ("SolarPanel") and colour-keyed textures ("ParmTransp").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lwo2/context.h"

namespace vx {

// The attribute text of the surface for the layer with `layerNumber`. Adds the surface's
// colour articulation, its textures and its solar panel group to the
// context's summary lists.
std::string translateSurface(Lwo2Context& context, Lwo2Surface& surface, int layerNumber, bool allImageFormats);

// The image name of the CLIP with `index`: the last component of its path,
// printable characters only, at most 39, without the extension unless
// `allImageFormats`. Empty when there is no such CLIP.
std::string imageNameFromClip(const Lwo2Context& context, std::uint32_t index, bool allImageFormats);

void addTextureUsed(Lwo2Context& context, std::string_view name);
void addSolarPanelGroup(Lwo2Context& context, std::string_view text);

// The surface comment (CMNT text), or none when the surface has no CMNT.
std::optional<std::string_view> surfaceComment(const Lwo2Context& context, const Lwo2Surface& surface);

}  // namespace vx
