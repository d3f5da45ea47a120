#include "lwo2/node_graph.h"

#include <algorithm>

#include "core/byte_reader.h"

namespace vx {

namespace {

std::string_view chunkText(Bytes bytes, const Chunk& c) {
    return ByteReader(bytes.subspan(c.offset, c.size)).cstring();
}

std::optional<std::uint32_t> chunkU4(Bytes bytes, const Chunk& c) {
    if (c.size < 4) return std::nullopt;
    return loadU4(bytes.data() + c.offset);
}

// A count and that many doubles; a count larger than the chunk holds stops
// where the chunk ends.
void readNumbers(Bytes bytes, const Chunk& c, std::vector<double>& numbers) {
    ByteReader r(bytes.subspan(c.offset, c.size));
    const std::size_t count = std::min<std::size_t>(r.u4(), r.remaining() / 8);
    numbers.reserve(count);
    for (std::size_t i = 0; i < count; ++i) numbers.push_back(r.f8());
}

// An input's FORM VALU: a blank chunk with the type, followed there by the
// value itself for "int" and "double"; the other types keep their numbers
// in a nested FORM VALU, and an input with image layers adds a FORM TXTR.
void readValue(Bytes bytes, const FormRun& valu, NodeValue& value) {
    forEachChild(bytes, valu, [&](const Chunk& c) {
        if (c.id == kBlankId) {
            ByteReader r(bytes.subspan(c.offset, c.size));
            value.type = r.evenString();
            if (value.type == "int" && r.remaining() >= 4) value.numbers = {double(static_cast<std::int32_t>(r.u4()))};
            if (value.type == "double" && r.remaining() >= 8) value.numbers = {r.f8()};
        } else if (std::optional<FormRun> form = asForm(bytes, c)) {
            if (form->type == makeId("TXTR")) value.texture = form;
            if (form->type != makeId("VALU")) return true;
            if (std::optional<Chunk> list = findChild(bytes, *form, kBlankId)) readNumbers(bytes, *list, value.numbers);
        }
        return true;
    });
}

// A material's inputs: ENTR items under SATR (Standard) or ATTR (Principled
// BSDF and the other newer materials), each a NAME and a FORM VALU.
void readInputs(Bytes bytes, const FormRun& ndta, std::vector<NodeValue>& inputs) {
    std::optional<FormRun> entries = findFormPath(bytes, ndta, {makeId("SATR"), makeId("META"), makeId("ADAT")});
    if (!entries) entries = findFormPath(bytes, ndta, {makeId("ATTR"), makeId("META"), makeId("ADAT")});
    if (!entries) return;
    forEachChild(bytes, *entries, [&](const Chunk& c) {
        std::optional<FormRun> entry = asForm(bytes, c);
        if (!entry || entry->type != makeId("ENTR")) return true;
        NodeValue value;
        if (std::optional<Chunk> name = findChild(bytes, *entry, makeId("NAME"))) value.name = chunkText(bytes, *name);
        if (std::optional<FormRun> valu = findChildForm(bytes, *entry, makeId("VALU"))) readValue(bytes, *valu, value);
        inputs.push_back(std::move(value));
        return true;
    });
}

// The clip an Image node embeds (IIMG -> CLIP): an optional blank chunk with
// its index, then FORM STIL whose blank chunk is the path.
void readEmbeddedClip(Bytes bytes, const FormRun& ndta, ImageNodeData& image) {
    std::optional<FormRun> clip = findFormPath(bytes, ndta, {makeId("IIMG"), makeId("CLIP")});
    if (!clip) return;
    if (std::optional<Chunk> index = findChild(bytes, *clip, kBlankId)) image.clipIndex = chunkU4(bytes, *index);
    if (std::optional<FormRun> still = findChildForm(bytes, *clip, makeId("STIL"))) {
        if (std::optional<Chunk> path = findChild(bytes, *still, kBlankId)) image.path = chunkText(bytes, *path);
    }
}

ImageNodeData readImage(Bytes bytes, const FormRun& ndta) {
    ImageNodeData image;
    readEmbeddedClip(bytes, ndta, image);
    forEachChild(bytes, ndta, [&](const Chunk& c) {
        if (c.id == makeId("IMAP")) image.projection = chunkU4(bytes, c);
        if (c.id == makeId("IUVI")) image.uvMap = chunkText(bytes, c);
        if (c.id == makeId("IUTL")) image.wrapU = chunkU4(bytes, c);
        if (c.id == makeId("IVTL")) image.wrapV = chunkU4(bytes, c);
        return true;
    });
    return image;
}

// A node's FORM NTAG: its unique name and its data.
void readNodeTag(Bytes bytes, const FormRun& ntag, GraphNode& node) {
    if (std::optional<Chunk> name = findChild(bytes, ntag, makeId("NNME"))) node.name = chunkText(bytes, *name);
    std::optional<FormRun> ndta = findChildForm(bytes, ntag, makeId("NDTA"));
    if (!ndta) return;
    if (node.kind == "Image") {
        node.image = readImage(bytes, *ndta);
    } else {
        readInputs(bytes, *ndta, node.inputs);
    }
}

// FORM NNDS: each node is an NSRV (its kind) followed by its FORM NTAG.
void readNodes(Bytes bytes, const FormRun& nnds, std::vector<GraphNode>& nodes) {
    bool tagged = true;  // whether the last node has had its NTAG
    forEachChild(bytes, nnds, [&](const Chunk& c) {
        if (c.id == makeId("NSRV")) {
            nodes.emplace_back().kind = chunkText(bytes, c);
            tagged = false;
            return true;
        }
        std::optional<FormRun> ntag = asForm(bytes, c);
        if (!ntag || ntag->type != makeId("NTAG")) return true;
        if (tagged) nodes.emplace_back();  // a tag without its kind
        readNodeTag(bytes, *ntag, nodes.back());
        tagged = true;
        return true;
    });
}

// FORM NCON: four chunks a wire, each wire opened by its INME.
void readConnections(Bytes bytes, const FormRun& ncon, std::vector<NodeConnection>& connections) {
    forEachChild(bytes, ncon, [&](const Chunk& c) {
        std::string_view NodeConnection::*field = nullptr;
        if (c.id == makeId("INME")) field = &NodeConnection::toNode;
        if (c.id == makeId("IINM")) field = &NodeConnection::toInput;
        if (c.id == makeId("IINN")) field = &NodeConnection::fromNode;
        if (c.id == makeId("IONM")) field = &NodeConnection::fromOutput;
        if (!field) return true;
        if (connections.empty() || c.id == makeId("INME")) connections.emplace_back();
        connections.back().*field = chunkText(bytes, c);
        return true;
    });
}

}  // namespace

int readNodeGraph(Bytes bytes, const FormRun& surface, NodeGraph& graph) {
    graph = NodeGraph{};
    std::optional<FormRun> nods = findChildForm(bytes, surface, makeId("NODS"));
    if (!nods) return kNoNodeGraph;
    forEachChild(bytes, *nods, [&](const Chunk& c) {
        std::optional<FormRun> form = asForm(bytes, c);
        if (form && form->type == makeId("NNDS")) readNodes(bytes, *form, graph.nodes);
        if (form && form->type == makeId("NCON")) readConnections(bytes, *form, graph.connections);
        return true;
    });
    return kNodeGraphRead;
}

const GraphNode* findNode(const NodeGraph& graph, std::string_view name) {
    auto it = std::find_if(graph.nodes.begin(), graph.nodes.end(), [&](const GraphNode& n) { return n.name == name; });
    return it == graph.nodes.end() ? nullptr : &*it;
}

const GraphNode* wiredInto(const NodeGraph& graph, std::string_view to, std::string_view input) {
    for (const NodeConnection& wire : graph.connections) {
        if (wire.toNode == to && wire.toInput == input) return findNode(graph, wire.fromNode);
    }
    return nullptr;
}

const GraphNode* wiredMaterial(const NodeGraph& graph) {
    auto surface =
        std::find_if(graph.nodes.begin(), graph.nodes.end(), [](const GraphNode& n) { return n.kind == "Surface"; });
    return surface == graph.nodes.end() ? nullptr : wiredInto(graph, surface->name, "Material");
}

const NodeValue* findInput(const GraphNode& node, std::string_view name) {
    auto it = std::find_if(node.inputs.begin(), node.inputs.end(), [&](const NodeValue& v) { return v.name == name; });
    return it == node.inputs.end() ? nullptr : &*it;
}

}  // namespace vx
