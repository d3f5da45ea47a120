#pragma once
// A model file as the converter writes it, read back into plain records:
// components with their placement lines, references to other components,
// articulations, and the geometry of each surface block. Nothing here is
// drawn or evaluated; mdl/mdl_pose.h gives an articulation's value at a pose
// and preview/ draws the model.
//
// How the lines place things, as the scenario viewer reads them:
//  - a component's own Translate and Rotate lines move everything the
//    component holds (its geometry and the components it refers to), each
//    line applied to the points in the order written;
//  - "Rotate a b c" turns a degrees about x, then b about y, then c about z
//    (right-handed, counter-clockwise looking down the axis);
//  - a Refer places the component it names inside the component holding the
//    Refer: first the Refer's articulation moves it, transformation by
//    transformation in the order written, then the Refer's Translate and
//    Rotate lines, in the order written. That is how a layer turns about its
//    own pivot: its group shifts the pivot to the origin, the articulation
//    turns it there, and the Refer shifts it back.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/model_type.h"

namespace vx {

// The keywords of articulation lines. Texture transformations move no
// geometry; the colour ones give a surface's red, green or blue level.
enum class MdlTransformKind : std::int32_t {
    UniformScale,
    XRotate, YRotate, ZRotate,
    XTranslate, YTranslate, ZTranslate,
    XScale, YScale, ZScale,
    XTxTranslate, YTxTranslate, ZTxRotate, XTxScale, YTxScale,
    RedColor, GreenColor, BlueColor,
};

// One line of an Articulation block: "zRotate Azimuth -180 0 180".
struct MdlTransformation {
    MdlTransformKind kind = MdlTransformKind::UniformScale;
    std::string name;  // may hold spaces: the layer name's "(...)" is copied as written
    double minimum = 0, defaultValue = 0, maximum = 0;
    int line = 0;
};

struct MdlArticulation {
    std::string name;  // the component's name, or "L<layer>_<surface>" for a colour articulation
    std::vector<MdlTransformation> transformations;
    int line = 0;
};

// A Translate or Rotate line (degrees for Rotate).
struct MdlStep {
    enum Kind : std::int32_t { Translate, Rotate } kind = Translate;
    double x = 0, y = 0, z = 0;
    int line = 0;
};

struct MdlRefer {
    std::vector<MdlStep> steps;
    std::optional<MdlArticulation> articulation;
    // Lines the viewer takes as commands of their own ("Pointing Aim 0 0 1",
    // a layer's extra lines), without their indentation.
    std::vector<std::string> extraLines;
    std::string component;  // the name as written
    int target = -1;        // index into MdlModel::components
    int line = 0;           // of the "Component" line naming the target
};

// Colour levels as written ("%RRRGGGBBB"); a level may pass 255 when the
// object's colour did, so users clamp.
struct MdlColor {
    int red = 0, green = 0, blue = 0;
};

struct MdlTexture {
    std::string rgb;    // image name
    std::string alpha;  // empty without an Alpha line
    std::vector<std::string> parms;  // "AA", "Mipmap", "BumpScale 0.5", ...
};

// The attribute lines that open a Points or PolygonMesh block.
struct MdlSurface {
    std::string name;  // from the "# Surface: " comment before the block; may be empty
    MdlColor faceColor{199, 199, 199};  // "grey78"
    // "FaceEmissionColor %..." gives a colour; the LightWave 5 form
    // "FaceEmissionColor Yes" makes the face colour glow.
    bool emissive = false;
    std::optional<MdlColor> emissionColor;
    bool smoothShading = true;
    bool backfaceCullable = false;
    bool diffuseLighting = true;
    std::optional<double> translucency;
    std::optional<double> specularity;
    std::optional<int> shininess;
    std::string solarPanel;  // the whole "SolarPanel ..." line, when there is one
    std::optional<MdlArticulation> colorArticulation;
    std::vector<MdlTexture> textures;
};

// One Points or PolygonMesh block of a component.
struct MdlMesh {
    bool pointBlock = false;  // Points (drawn as dots of pointSize) rather than PolygonMesh
    int pointSize = 0;
    MdlSurface surface;
    std::vector<Point3> vertices;
    std::vector<float> texCoords;  // u, v per vertex for a "DataTx" mesh, else empty
    // Polygon p's vertex numbers are indices[polygonStart[p] .. polygonStart[p + 1])
    // (the last one runs to the end of indices). Each number is below vertices.size().
    std::vector<std::uint32_t> polygonStart;
    std::vector<std::uint32_t> indices;
    int line = 0;

    std::size_t polygonCount() const { return polygonStart.size(); }
    std::span<const std::uint32_t> polygon(std::size_t p) const {
        const std::size_t end = p + 1 < polygonStart.size() ? polygonStart[p + 1] : indices.size();
        return std::span<const std::uint32_t>(indices).subspan(polygonStart[p], end - polygonStart[p]);
    }
};

struct MdlAttach {
    bool effect = false;  // AttachEffect rather than AttachPoint
    std::string label;
};

struct MdlComponent {
    std::string name;  // may hold spaces (attach point components keep the layer's raw name)
    bool root = false;
    std::vector<MdlStep> steps;
    std::optional<MdlAttach> attach;
    std::vector<MdlRefer> refers;
    std::vector<MdlMesh> meshes;
    int line = 0;
};

struct MdlModel {
    ModelType modelType = ModelType::None;
    std::vector<MdlComponent> components;  // in file order
    int root = -1;                         // index of the component marked Root
    double boundRadius = 0;
};

}  // namespace vx
