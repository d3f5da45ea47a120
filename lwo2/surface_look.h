#pragma once
// How a surface looks, as read from the object and before any of it is
// written: the values that LWO2 keeps in SURF sub-chunks and LWO3 in the
// material node wired to the surface. An empty optional means the object
// gives no value, which is not the same as a value of zero: the attribute
// writer picks the defaults.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

enum class TextureChannel { Color, Transparency, Bump, Other };

// The image a texture layer shows.
struct TextureImage {
    std::optional<std::uint32_t> clipIndex;  // the CLIP it was found through, when there was one
    std::string path;                        // as stored; empty when the CLIP is missing
};

// Wrap modes as LightWave numbers them: 0 reset, 1 repeat, 2 mirror, 3 edge.
struct TextureWrap {
    std::uint16_t width = 1;
    std::uint16_t height = 1;
};

// One image texture layer, in the order the surface stacks them.
struct SurfaceTexture {
    TextureChannel channel = TextureChannel::Other;
    std::optional<TextureImage> image;  // none: the layer names no image at all
    std::string uvMap;                  // the UV map's name; empty when none is named
    std::optional<TextureWrap> wrap;
    std::optional<bool> antialiasing;   // texture antialiasing switch
    std::optional<bool> pixelBlending;
    std::optional<float> amplitude;     // bump strength
};

struct SurfaceLook {
    std::string name;
    std::optional<std::array<float, 3>> color;  // red, green, blue, 1.0 full
    std::optional<float> diffuse;
    std::optional<float> luminosity;
    std::optional<float> specular;
    std::optional<float> glossiness;
    std::optional<float> transparency;
    std::optional<float> smoothingAngle;  // maximum smoothing angle, radians
    std::optional<std::uint16_t> sidedness;  // 1 front only, 3 both sides

    // What the surface comment asks for.
    bool colorTranslate = false;              // "ColorTranslate": a colour articulation
    std::optional<std::string> solarPanel;    // "SolarPanel": the comment from the keyword on
    bool colorKeyed = false;                  // "ParmTransp": colour-keyed textures

    std::vector<SurfaceTexture> textures;

    // LWO3: the kind of the material node wired to the surface when it is
    // neither "Standard" nor "Principled BSDF", so that only its colour was
    // read; empty otherwise.
    std::string partlyReadMaterial;
};

// Sets what a surface comment asks for; the keywords are case-sensitive
// and may stand anywhere in it.
void readCommentKeywords(std::string_view comment, SurfaceLook& look);

}  // namespace vx
