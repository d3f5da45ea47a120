#pragma once
// The node graph of an LWO3 surface (its FORM NODS) as plain records: the
// nodes with their kind, unique name and stored data, and the wires between
// them. LightWave keeps a surface's look here rather than in LWO2's COLR,
// DIFF and BLOK sub-chunks, and a surface often holds several material nodes
// of which only the one wired to the "Surface" node counts. Every text and
// run is a view into the loaded bytes, valid while they live.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/nested_form.h"

namespace vx {

// One stored input of a material node (an ENTR of its SATR or ATTR).
struct NodeValue {
    std::string_view name;        // "Color", "Diffuse", "Roughness", ...
    std::string_view type;        // "vparam", "vparam3", "int", "double", ...
    std::vector<double> numbers;  // three for a colour, one for a scalar, none when absent
    // The FORM TXTR of an input with image layers: FORM BLOK children that
    // hold LWO2's texture sub-chunks (IMAP, TMAP, IMAG, WRAP, VMAP, ...) with
    // four-byte sizes.
    std::optional<FormRun> texture;
};

// What an "Image" node draws and how it lies on the surface.
struct ImageNodeData {
    std::string_view path;                   // the embedded clip's still image; empty when none
    std::optional<std::uint32_t> clipIndex;  // when the embedded clip carries an index
    std::optional<std::uint32_t> projection; // IMAP: 5 is a UV map
    std::string_view uvMap;                  // IUVI
    // IUTL and IVTL. LightWave writes 1 where the LWO2 block of the same
    // texture has WRAP 1 (repeat).
    std::optional<std::uint32_t> wrapU, wrapV;
};

struct GraphNode {
    std::string_view kind;          // NSRV: "Surface", "Standard", "Principled BSDF", "Image", ...
    std::string_view name;          // NNME, unique in the graph: "Standard (1)"
    std::vector<NodeValue> inputs;  // a material's stored inputs, in file order
    std::optional<ImageNodeData> image;  // for a node of kind "Image"
};

// A wire: the output `fromOutput` of node `fromNode` feeds the input
// `toInput` of node `toNode` (node names as in GraphNode::name).
struct NodeConnection {
    std::string_view toNode;      // INME
    std::string_view toInput;     // IINM
    std::string_view fromNode;    // IINN
    std::string_view fromOutput;  // IONM
};

struct NodeGraph {
    std::vector<GraphNode> nodes;
    std::vector<NodeConnection> connections;
};

inline constexpr int kNodeGraphRead = 0;
inline constexpr int kNoNodeGraph = 1;

// Reads the FORM NODS among the children of an LWO3 FORM SURF into `graph`
// (emptied first): kNodeGraphRead, or kNoNodeGraph when the surface has none.
// Damaged data ends a walk early and leaves out what could not be read.
int readNodeGraph(Bytes bytes, const FormRun& surface, NodeGraph& graph);

// The node named `name`, or null.
const GraphNode* findNode(const NodeGraph& graph, std::string_view name);
// The node wired into input `input` of the node named `to`, or null.
const GraphNode* wiredInto(const NodeGraph& graph, std::string_view to, std::string_view input);
// The material that gives the surface its look: the node wired into the
// input "Material" of the graph's "Surface" node. Null when nothing is wired
// there; material nodes that are not wired do not count.
const GraphNode* wiredMaterial(const NodeGraph& graph);
// The stored input named `name`, or null.
const NodeValue* findInput(const GraphNode& node, std::string_view name);

}  // namespace vx
