// Model files read back: every golden model and a freshly converted
// LightWave 5 object as written, and damaged models refused with the line
// and what had to stand there.

#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "mdl/read_mdl.h"
#include "tests/mdl/mdl_test_support.h"

namespace {

using vxtest::readText;
using vxtest::RecordingSink;

const std::string kSource = VERTEXION_SOURCE_DIR;

vx::MdlModel readOk(const std::string& text, const std::string& name = "model.mdl") {
    RecordingSink sink;
    vx::MdlModel model;
    EXPECT_EQ(vx::readMdlText(text, name, model, sink), 0) << name;
    EXPECT_TRUE(sink.messages.empty()) << name << ": " << (sink.messages.empty() ? "" : sink.messages[0].reason);
    return model;
}

const vx::MdlComponent& component(const vx::MdlModel& model, std::string_view name) {
    for (const vx::MdlComponent& c : model.components)
        if (c.name == name) return c;
    ADD_FAILURE() << "no component " << name;
    static const vx::MdlComponent none;
    return none;
}

// The golden models of every test folder (tests/*/golden/*.mdl).
std::vector<std::filesystem::path> goldenModels() {
    std::vector<std::filesystem::path> out;
    for (const auto& folder : std::filesystem::directory_iterator(kSource + "/tests")) {
        const std::filesystem::path golden = folder.path() / "golden";
        if (!std::filesystem::is_directory(golden)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(golden))
            if (entry.path().extension() == ".mdl") out.push_back(entry.path());
    }
    return out;
}

TEST(ReadMdl, EveryGoldenModelReadsBackAsWritten) {
    int read = 0;
    for (const std::filesystem::path& path : goldenModels()) {
        const std::string text = readText(path.string());
        const vx::MdlModel model = readOk(text, path.filename().string());
        EXPECT_EQ(mdltest::outlineOfModel(model), mdltest::outlineOfText(text)) << path;
        ASSERT_GE(model.root, 0);
        for (const vx::MdlComponent& c : model.components)
            for (const vx::MdlRefer& r : c.refers) EXPECT_EQ(model.components[static_cast<std::size_t>(r.target)].name, r.component);
        ++read;
    }
    EXPECT_EQ(read, 7);  // every golden model of both object forms

    // The bundled ship: placement lines, articulation ranges, texture
    // coordinates, polygons in the order written, the attach point.
    const vx::MdlModel ship = readOk(readText(kSource + "/tests/lwo2/golden/ship.mdl"));
    EXPECT_EQ(ship.modelType, vx::ModelType::SpacecraftAircraft);
    EXPECT_EQ(ship.boundRadius, 1515);
    const vx::MdlRefer& dish = component(ship, "ParentLayer1_ship").refers[1];
    ASSERT_TRUE(dish.articulation);
    EXPECT_EQ(dish.articulation->name, "Dish");
    ASSERT_EQ(dish.articulation->transformations.size(), 2u);
    const vx::MdlTransformation& elevation = dish.articulation->transformations[1];
    EXPECT_EQ(elevation.kind, vx::MdlTransformKind::YRotate);
    EXPECT_EQ(elevation.name, "Elevation");
    EXPECT_EQ(std::make_tuple(elevation.minimum, elevation.defaultValue, elevation.maximum), std::make_tuple(0.0, 45.0, 90.0));
    ASSERT_EQ(dish.steps.size(), 1u);
    EXPECT_EQ(std::make_tuple(dish.steps[0].kind, dish.steps[0].x, dish.steps[0].z), std::make_tuple(vx::MdlStep::Translate, 1.0, -0.5));
    const vx::MdlMesh& body = component(ship, "Body").meshes.at(0);
    EXPECT_EQ(body.surface.name, "Hull");
    EXPECT_EQ(std::make_tuple(body.surface.faceColor.red, body.surface.faceColor.blue), std::make_tuple(179, 183));
    EXPECT_TRUE(body.surface.backfaceCullable);
    EXPECT_EQ(body.surface.textures.at(0).rgb, "hull_plates.png");
    EXPECT_EQ(body.texCoords.size(), 2 * body.vertices.size());
    EXPECT_EQ(std::vector<std::uint32_t>(body.polygon(0).begin(), body.polygon(0).end()), (std::vector<std::uint32_t>{1, 2, 3, 0}));
    const vx::MdlComponent& port = component(ship, "AP4_Docking port");
    ASSERT_TRUE(port.attach);
    EXPECT_EQ(port.attach->label, "Docking port");
    EXPECT_FALSE(port.attach->effect);
    EXPECT_EQ(component(ship, "Dish").meshes.at(0).pointBlock, true);

    // A colour articulation on a surface, extra lines in a Refer.
    const vx::MdlModel surfaces = readOk(readText(kSource + "/tests/lwo2/golden/surfaces.mdl"));
    const vx::MdlSurface& lights = component(surfaces, "Fin").meshes.at(0).surface;
    ASSERT_TRUE(lights.colorArticulation);
    EXPECT_EQ(lights.colorArticulation->transformations.at(1).kind, vx::MdlTransformKind::GreenColor);
    const vx::MdlModel rig = readOk(readText(kSource + "/tests/lwo2/golden/rig_sorted.mdl"));
    EXPECT_EQ(component(rig, "IncludeLayer6_ship").refers.at(0).extraLines,
              (std::vector<std::string>{"Pointing Aim 0 0 1", "Parm Glow 1 0"}));
}

TEST(ReadMdl, LightWave5ModelReadsBack) {
    RecordingSink sink;
    const std::string text = mdltest::convertObject(readText(kSource + "/examples/beacon.lwo"), vx::ModelType::GroundVehicle, sink);
    ASSERT_FALSE(text.empty());
    const vx::MdlModel model = readOk(text);
    EXPECT_EQ(mdltest::outlineOfModel(model), mdltest::outlineOfText(text));
    EXPECT_EQ(model.modelType, vx::ModelType::GroundVehicle);
    ASSERT_EQ(model.components.size(), 1u);
    EXPECT_EQ(model.root, 0);
    EXPECT_EQ(model.boundRadius, 15);
    const vx::MdlSurface& lamp = model.components[0].meshes.at(1).surface;
    EXPECT_TRUE(lamp.emissive);
    EXPECT_FALSE(lamp.emissionColor);
}

// A small model, then the same model with one line changed (or gone).
constexpr std::string_view kTriangle =
    "# Korvan 3D Model file\n"
    "# Axis rotation applied: None\n"
    "#\n"
    "Component Tri\n"
    "# Surface: Red\n"
    "\tPolygonMesh\n"
    "\t\tFaceColor %255000000\n"
    "\t\tNumVerts 3\n"
    "\t\tData\n"
    "\t\t\t0 0 0\n"
    "\t\t\t1 0 0\n"
    "\t\t\t0 1 0\n"
    "\t\tNumPolys 1\n"
    "\t\tPolys\n"
    "\t\t\t3 0 1 2\n"
    "\tEndPolygonMesh\n"
    "EndComponent\n"
    "Component Tri_ROOT\n"
    "\tRoot\n"
    "\tRefer\n"
    "\t\tArticulation Tri\n"
    "\t\t\tzRotate Spin -90 0 90\n"
    "\t\tEndArticulation\n"
    "\t\tComponent Tri\n"
    "\tEndRefer\n"
    "EndComponent\n"
    "BoundRadius 15\n"
    "# End of tri.mdl\n";

// Line `number` (from 1) replaced by `with`, or removed when there is none.
std::string edited(int number, std::optional<std::string_view> with) {
    std::string out;
    std::string_view text = kTriangle;
    for (int n = 1; !text.empty(); ++n) {
        const std::size_t end = text.find('\n') + 1;
        if (n != number) {
            out += text.substr(0, end);
        } else if (with) {
            out += *with;
            out += '\n';
        }
        text.remove_prefix(end);
    }
    return out;
}

TEST(ReadMdl, DamagedModelsNameTheLineAndWhatWasExpected) {
    readOk(std::string(kTriangle));
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {edited(17, std::nullopt), "line 17: expected EndComponent, found \"Component\""},
        {edited(15, "\t\t\t3 0 1 3"), "line 15: expected a vertex number below 3, found \"3\""},
        {edited(11, "\t\t\t1 0-0"), "line 11: expected a coordinate of vertex 2 of 3, found \"0-0\""},
        {edited(12, "\t\t\t0 1 0 2"), "line 12: expected the end of the vertex line, found \"2\""},
        {edited(22, "\t\t\tzRotate Spin -90 zero 90"),
         "line 22: expected a name and three numbers (minimum, default, maximum), found \"zero\""},
        {edited(27, "BoundRadius nan"), "line 27: expected a number, found \"nan\""},
        {edited(24, "\t\tComponent Nowhere"), "line 24: expected a component of the file, found \"Nowhere\""},
        {edited(16, "\tEndPolygonMesh\n\tRefer\n\t\tComponent Tri_ROOT\n\tEndRefer"),
         "line 27: expected a component that does not hold this one, found \"Tri\""},
        {edited(2, std::nullopt),
         "line 3: expected the \"# Axis rotation applied: \" line before the first component, found \"Component\""},
        {edited(2, "# Axis rotation applied: Sideways"), "line 2: expected a known axis rotation, found \"Sideways\""},
        {edited(19, std::nullopt), "line 26: expected a component marked Root before BoundRadius, found \"BoundRadius\""},
        {edited(27, std::nullopt), "line 27: expected BoundRadius, found the end of the file"},
        {edited(25, std::nullopt), "line 25: expected EndRefer, found \"EndComponent\""},
        {edited(7, "\t\tFaceColour %255000000"), "line 7: expected a surface attribute or NumVerts, found \"FaceColour\""},
        // A count far beyond the text reserves nothing for it and ends where the text does.
        {edited(8, "\t\tNumVerts 4000000000"), "line 13: expected a coordinate of vertex 4 of 4000000000, found \"NumPolys\""},
        {edited(15, "\t\t\t4000000000 0 1 2"), "line 15: expected a vertex number below 3, found nothing"},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        vx::MdlModel model;
        EXPECT_EQ(vx::readMdlText(c.text, "tri.mdl", model, sink), 1) << c.reason;
        ASSERT_EQ(sink.messages.size(), 1u) << c.reason;
        EXPECT_EQ(sink.messages[0], (vxtest::Recorded{vx::Severity::Error, "Can't read model file.", "tri.mdl", c.reason}));
        EXPECT_TRUE(model.components.empty());
    }

    // Cut anywhere, a model is refused with a line number, or read whole
    // once its BoundRadius line is in.
    const std::string ship = readText(kSource + "/tests/lwo2/golden/ship.mdl");
    const std::size_t complete = ship.find("BoundRadius ") + 13;  // a digit of the radius in
    for (std::size_t n = 0; n < ship.size(); ++n) {
        RecordingSink sink;
        vx::MdlModel model;
        const int status = vx::readMdlText(std::string_view(ship).substr(0, n), "ship.mdl", model, sink);
        ASSERT_EQ(status, n >= complete ? 0 : 1) << n;
        if (status != 0) {
            ASSERT_TRUE(sink.messages.at(0).reason.starts_with("line ")) << n;
        }
    }
}

TEST(ReadMdl, FilesAndNamesDefinedTwice) {
    vxtest::ScratchDir dir;
    RecordingSink sink;
    vx::MdlModel model;
    EXPECT_EQ(vx::loadMdlFile(dir.path("none.mdl"), model, sink), 1);
    EXPECT_EQ(sink.messages.at(0),
              (vxtest::Recorded{vx::Severity::Error, "Can't read model file.", dir.path("none.mdl"), "No such file or directory"}));

    // Two layers of one name give two components of one name; the first is used.
    const std::string twice = edited(17, "EndComponent\nComponent Tri\nEndComponent");
    vxtest::writeText(dir.path("twice.mdl"), twice);
    RecordingSink warned;
    ASSERT_EQ(vx::loadMdlFile(dir.path("twice.mdl"), model, warned), 0);
    EXPECT_EQ(warned.messages, (std::vector<vxtest::Recorded>{{vx::Severity::Warning,
                                                                "Component defined twice; references use the first.",
                                                                dir.path("twice.mdl"), "line 18: Component Tri"}}));
    EXPECT_EQ(model.components.at(2).refers.at(0).target, 0);
}

}  // namespace
