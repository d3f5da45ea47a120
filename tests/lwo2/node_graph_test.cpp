#include "lwo2/node_graph.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/support/lwo3_builder.h"
#include "tests/support/test_support.h"

namespace {

using vx::FormRun;
using vx::makeId;
using vx::NodeGraph;
using namespace vxtest;

// The top-level FORM SURFs of an object.
std::vector<FormRun> surfaceForms(const vx::ChunkFile& file) {
    std::vector<FormRun> found;
    vx::forEachTopLevelForm(file, makeId("SURF"), [&](const FormRun& f) {
        found.push_back(f);
        return true;
    });
    return found;
}

void expectImage(const vx::GraphNode* node, std::string_view path, std::string_view uv, std::uint32_t wrapU,
                 std::uint32_t wrapV) {
    ASSERT_TRUE(node && node->image);
    EXPECT_EQ(node->image->path, path);
    EXPECT_EQ(node->image->uvMap, uv);
    EXPECT_EQ(node->image->projection, 5u);
    EXPECT_EQ(node->image->wrapU, wrapU);
    EXPECT_EQ(node->image->wrapV, wrapV);
}

// The graph of the first surface of an LWO3 object holding that surface,
// loaded into `file` (which its views point into).
NodeGraph graphOf(vx::ChunkFile& file, const Data& surface, int expected = vx::kNodeGraphRead) {
    RecordingSink sink;
    EXPECT_TRUE(file.loadBytes(form("LWO3", {surface}), "/models/skin.lwo", sink));
    NodeGraph graph;
    EXPECT_EQ(vx::readNodeGraph(file.all(), surfaceForms(file).at(0), graph), expected);
    return graph;
}

TEST(NodeGraph, ReadsNodesWiresAndTheWiredMaterial) {
    RecordingSink sink;
    vx::ChunkFile file;
    ASSERT_TRUE(file.loadBytes(lwo3Triangle(), "/models/skin.lwo", sink));
    NodeGraph graph;
    ASSERT_EQ(vx::readNodeGraph(file.all(), surfaceForms(file).at(0), graph), vx::kNodeGraphRead);
    ASSERT_EQ(graph.nodes.size(), 4u);
    EXPECT_EQ(graph.nodes[1].kind, "Standard");
    EXPECT_EQ(graph.nodes[1].name, "Standard (1)");
    ASSERT_EQ(graph.connections.size(), 2u);
    EXPECT_EQ(graph.connections[1].fromOutput, "Color");

    // The unwired Standard node, first in the file, does not count.
    const vx::GraphNode* material = vx::wiredMaterial(graph);
    ASSERT_TRUE(material);
    EXPECT_EQ(material->kind, "Principled BSDF");
    ASSERT_TRUE(vx::findInput(*material, "Color"));
    EXPECT_EQ(vx::findInput(*material, "Color")->numbers, (std::vector<double>{0.25, 0.5, 0.75}));
    EXPECT_EQ(vx::findInput(*material, "Color")->type, "vparam3");
    EXPECT_EQ(vx::findInput(*material, "Roughness")->numbers, std::vector<double>{0.5});
    EXPECT_FALSE(vx::findInput(*material, "Diffuse"));

    const vx::GraphNode* image = vx::wiredInto(graph, material->name, "Color");
    ASSERT_NO_FATAL_FAILURE(expectImage(image, "Images/skin.png", "Texture", 1, 2));
    EXPECT_FALSE(image->image->clipIndex);
    EXPECT_TRUE(image->inputs.empty());
}

TEST(NodeGraph, OnlyTheWireIntoTheSurfacesMaterialInputChoosesTheMaterial) {
    const Data materials = Data().add(materialNode("Standard", "Standard (1)", nodeInput("Diffuse", {0.5})))
                               .add(materialNode("Principled BSDF", "Principled BSDF (1)", Data()));
    const Data surface = node("Surface", "Surface", Data());
    auto material = [&](const Data& nodes, const Data& wires) {
        vx::ChunkFile file;
        const NodeGraph graph = graphOf(file, lwo3Surface("Skin", nodeGraph(nodes, wires)));
        const vx::GraphNode* m = vx::wiredMaterial(graph);
        return m ? std::string(m->name) : std::string("none");
    };
    const Data nodes = Data().add(surface).add(materials);
    EXPECT_EQ(material(nodes, Data()), "none");
    EXPECT_EQ(material(nodes, wire("Surface", "Normal", "Standard (1)", "Normal")), "none");
    EXPECT_EQ(material(nodes, wire("Surface", "Material", "Standard (2)", "Material")), "none");
    EXPECT_EQ(material(materials, wire("Surface", "Material", "Standard (1)", "Material")), "none");
    EXPECT_EQ(material(nodes, wire("Standard (1)", "Material", "Principled BSDF (1)", "Material")
                                  .add(wire("Surface", "Material", "Standard (1)", "Material"))),
              "Standard (1)");
    // The Surface node is known by its kind, whatever its name.
    const Data renamed = Data().add(node("Surface", "Surface (2)", Data())).add(materials);
    EXPECT_EQ(material(renamed, wire("Surface (2)", "Material", "Principled BSDF (1)", "Material")),
              "Principled BSDF (1)");

    vx::ChunkFile file;
    EXPECT_TRUE(graphOf(file, lwo3Surface("Bare", chunk("SIDE", Data().u2(3))), vx::kNoNodeGraph).nodes.empty());
}

TEST(NodeGraph, ReadsInlineValuesAndAnEmbeddedClipIndex) {
    const Data inline_ = Data()
        .add(formOf("ENTR", {text("NAME", "Thin"), formOf("VALU", {blank(Data().name("int").u4(0xFFFFFFFE))})}))
        .add(formOf("ENTR", {text("NAME", "Scale"), formOf("VALU", {blank(Data().name("double").f8(2.5))})}));
    const Data nodes =
        Data().add(materialNode("Principled BSDF", "P", inline_)).add(imageNode("I", "a.png", "UV", 0, 3, 7));
    vx::ChunkFile file;
    const NodeGraph graph = graphOf(file, lwo3Surface("Skin", nodeGraph(nodes, Data())));
    ASSERT_EQ(graph.nodes.size(), 2u);
    EXPECT_EQ(vx::findInput(graph.nodes[0], "Thin")->numbers, std::vector<double>{-2});
    EXPECT_EQ(vx::findInput(graph.nodes[0], "Scale")->numbers, std::vector<double>{2.5});
    ASSERT_TRUE(graph.nodes[1].image);
    EXPECT_EQ(graph.nodes[1].image->clipIndex, 7u);
    EXPECT_EQ(graph.nodes[1].image->path, "a.png");
}

// Cut anywhere, the graph reads without passing the bytes' end and never
// grows past what the whole object holds.
TEST(NodeGraph, TruncatedBytesAreReadSafely) {
    RecordingSink sink;
    vx::ChunkFile file;
    ASSERT_TRUE(file.loadBytes(lwo3Triangle(), "/models/skin.lwo", sink));
    const FormRun surface = surfaceForms(file).at(0);
    for (std::size_t n = 0; n <= file.bytes.size(); ++n) {
        NodeGraph graph;
        vx::readNodeGraph(file.all().first(n), surface, graph);
        EXPECT_LE(graph.nodes.size(), 4u);
        EXPECT_LE(graph.connections.size(), 2u);
    }
}

// Every surface of the third-party LWO3 objects has a material wired to its
// Surface node: a Standard one in three objects, a Principled BSDF in the
// others, whatever their names say (Cube04-MultipleStandard holds Principled
// BSDF nodes only; Cube06-UVTextureMapStandard keeps an unwired Standard node).
TEST(NodeGraph, CorpusSurfacesHaveTheirWiredMaterial) {
    const std::filesystem::path corpus = corpusDir();
    if (corpus.empty() || !std::filesystem::exists(corpus / "lwo3")) GTEST_SKIP() << "no corpus";
    const std::map<std::string, std::string_view> standard = {
        {"Cube05-MultiplePhong.lwo", "Standard"}, {"Cube07-UVTextureMapPhong.lwo", "Standard"},
        {"UV-Discontinuous-VMAD-Cube.lwo", "Standard"}};
    int surfaces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus / "lwo3")) {
        const std::string name = entry.path().filename().string();
        RecordingSink sink;
        vx::ChunkFile file;
        ASSERT_TRUE(file.load(entry.path().string(), sink)) << name;
        for (const FormRun& surf : surfaceForms(file)) {
            NodeGraph graph;
            ASSERT_EQ(vx::readNodeGraph(file.all(), surf, graph), vx::kNodeGraphRead) << name;
            const vx::GraphNode* material = vx::wiredMaterial(graph);
            ASSERT_TRUE(material) << name;
            EXPECT_EQ(material->kind, standard.count(name) ? "Standard" : "Principled BSDF") << name;
            ASSERT_TRUE(vx::findInput(*material, "Color")) << name;
            EXPECT_EQ(vx::findInput(*material, "Color")->numbers.size(), 3u) << name;
            ++surfaces;
        }
    }
    EXPECT_GT(surfaces, 0);
}

// The two textured cubes: one colours a Principled BSDF through an Image
// node, the other a Standard node's Color through a texture block.
TEST(NodeGraph, CorpusImageNodeAndTextureBlock) {
    const std::filesystem::path corpus = corpusDir();
    if (corpus.empty() || !std::filesystem::exists(corpus / "lwo3")) GTEST_SKIP() << "no corpus";
    RecordingSink sink;
    vx::ChunkFile file;
    NodeGraph graph;
    ASSERT_TRUE(file.load((corpus / "lwo3/Cube06-UVTextureMapStandard.lwo").string(), sink));
    ASSERT_EQ(vx::readNodeGraph(file.all(), surfaceForms(file).at(0), graph), vx::kNodeGraphRead);
    const vx::GraphNode* principled = vx::wiredMaterial(graph);
    ASSERT_TRUE(principled);
    expectImage(vx::wiredInto(graph, principled->name, "Color"), "Images/general/UV_Grid.jpg", "Texture", 1, 1);

    ASSERT_TRUE(file.load((corpus / "lwo3/Cube07-UVTextureMapPhong.lwo").string(), sink));
    ASSERT_EQ(vx::readNodeGraph(file.all(), surfaceForms(file).at(0), graph), vx::kNodeGraphRead);
    const vx::GraphNode* standard = vx::wiredMaterial(graph);
    ASSERT_TRUE(standard);
    const vx::NodeValue* color = vx::findInput(*standard, "Color");
    ASSERT_TRUE(color && color->texture);
    const std::optional<FormRun> blok = vx::findChildForm(file.all(), *color->texture, makeId("BLOK"));
    ASSERT_TRUE(blok);
    const std::optional<vx::Chunk> imag = vx::findChild(file.all(), *blok, makeId("IMAG"));
    ASSERT_TRUE(imag);
    EXPECT_EQ(file.reader(*imag).vx(), 1u);
    EXPECT_TRUE(sink.messages.empty());
}

}  // namespace
