#include "lwo2/surface_look_nodes.h"

#include <array>
#include <string_view>

#include "lwo2/surface_chunks.h"

namespace vx {

namespace {

TextureChannel channelNamed(std::string_view input) {
    if (input == "Color") return TextureChannel::Color;
    if (input == "Transparency") return TextureChannel::Transparency;
    if (input == "Bump") return TextureChannel::Bump;
    return TextureChannel::Other;
}

std::optional<float> scalar(const GraphNode& material, std::string_view name) {
    const NodeValue* value = findInput(material, name);
    if (!value || value->numbers.empty()) return std::nullopt;
    return static_cast<float>(value->numbers[0]);
}

std::optional<std::array<float, 3>> colour(const GraphNode& material, std::string_view name) {
    const NodeValue* value = findInput(material, name);
    if (!value || value->numbers.size() < 3) return std::nullopt;
    const std::vector<double>& n = value->numbers;
    return std::array<float, 3>{float(n[0]), float(n[1]), float(n[2])};
}

// Keeps what the look holds where the material stores no value.
template <typename T>
void set(std::optional<T>& field, const std::optional<T>& value) {
    if (value) field = value;
}

void standardValues(const GraphNode& m, SurfaceLook& look) {
    set(look.color, colour(m, "Color"));
    set(look.diffuse, scalar(m, "Diffuse"));
    set(look.luminosity, scalar(m, "Luminosity"));
    set(look.specular, scalar(m, "Specular"));
    set(look.glossiness, scalar(m, "Glossiness"));
    set(look.transparency, scalar(m, "Transparency"));
}

void principledValues(const GraphNode& m, SurfaceLook& look) {
    set(look.color, colour(m, "Color"));
    look.diffuse = 1.0f;
    set(look.luminosity, scalar(m, "Luminous"));
    set(look.specular, scalar(m, "Specular"));
    if (std::optional<float> roughness = scalar(m, "Roughness")) look.glossiness = 1.0f - *roughness;
    set(look.transparency, scalar(m, "Transparency"));
}

void otherValues(const GraphNode& m, SurfaceLook& look) {
    for (std::string_view name : {"Color", "Base Color", "Paint Color"}) {
        if (std::optional<std::array<float, 3>> c = colour(m, name)) {
            look.color = c;
            break;
        }
    }
    look.partlyReadMaterial = m.kind;
}

SurfaceTexture imageNodeTexture(const ChunkFile& file, const ImageNodeData& image, std::string_view input) {
    SurfaceTexture t;
    t.channel = channelNamed(input);
    std::string path(image.path);
    if (path.empty() && image.clipIndex) path = clipImagePath(file, *image.clipIndex);
    t.image = TextureImage{image.clipIndex, std::move(path)};
    // A UV map named for another projection is a leftover, not the mapping.
    if (!image.projection || *image.projection == 5) t.uvMap = image.uvMap;
    if (image.wrapU || image.wrapV) {
        t.wrap = TextureWrap{static_cast<std::uint16_t>(image.wrapU.value_or(1)),
                             static_cast<std::uint16_t>(image.wrapV.value_or(1))};
    }
    return t;
}

// Texture layers stored with the material's inputs, then the Image nodes
// wired straight into them, each on the channel of its input.
void materialTextures(const ChunkFile& file, const NodeGraph& graph, const GraphNode& m, SurfaceLook& look) {
    for (const NodeValue& input : m.inputs) {
        if (input.texture) readFormBlocks(file, *input.texture, channelNamed(input.name), look);
    }
    for (const NodeConnection& wire : graph.connections) {
        if (wire.toNode != m.name) continue;
        const GraphNode* from = findNode(graph, wire.fromNode);
        if (from && from->image) look.textures.push_back(imageNodeTexture(file, *from->image, wire.toInput));
    }
}

// The channel an LWO3 IMAP names in its CHAN child.
std::optional<TextureChannel> imapChannel(Bytes bytes, const FormRun& imap) {
    std::optional<Chunk> chan = findChild(bytes, imap, makeId("CHAN"));
    if (!chan || chan->size < 4) return std::nullopt;
    return textureChannelOf(loadU4(bytes.data() + chan->offset));
}

}  // namespace

void readFormBlocks(const ChunkFile& file, const FormRun& parent, std::optional<TextureChannel> channel,
                    SurfaceLook& look) {
    const Bytes bytes = file.all();
    forEachChild(bytes, parent, [&](const Chunk& c) {
        std::optional<FormRun> blok = asForm(bytes, c);
        if (!blok || blok->type != makeId("BLOK")) return true;
        // Procedural, gradient and shader layers carry no IMAP and no image.
        std::optional<FormRun> imap = findChildForm(bytes, *blok, makeId("IMAP"));
        std::optional<TextureChannel> on = channel;
        if (imap && !on) on = imapChannel(bytes, *imap);
        if (imap && on) look.textures.push_back(readImageBlock(file, {blok->start, blok->length, SizeField::U4}, *on));
        return true;
    });
}

void applyWiredMaterial(const ChunkFile& file, const NodeGraph& graph, SurfaceLook& look) {
    const GraphNode* material = wiredMaterial(graph);
    if (!material) return;
    if (material->kind == "Standard") {
        standardValues(*material, look);
    } else if (material->kind == "Principled BSDF") {
        principledValues(*material, look);
    } else {
        otherValues(*material, look);
        return;
    }
    materialTextures(file, graph, *material, look);
}

}  // namespace vx
