#pragma once
// LightWave 2018+ (LWO3) chunks for objects built in memory: nested FORMs
// with four-byte sizes at every depth, clips, and surfaces whose look is a
// node graph (Surface, Standard, Principled BSDF and Image nodes and the
// wires between them). Geometry chunks are LWO2's (lwo2_builder.h).

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "tests/support/lwo2_builder.h"

namespace vxtest {

// A nested FORM: "FORM", size, type, then the children as given.
inline Data formOf(std::string_view type, const Data& children) {
    return chunk("FORM", Data().raw(type).add(children));
}
// The same with the children one by one; an odd-sized child is followed by
// its pad byte, as IFF has it.
inline Data formOf(std::string_view type, std::initializer_list<Data> children) {
    Data body;
    for (const Data& c : children) {
        body.add(c);
        if (c.size() % 2) body.u1(0);
    }
    return formOf(type, body);
}
// A data chunk with the id of four spaces.
inline Data blank(const Data& data) { return chunk("    ", data); }
inline Data text(std::string_view id, std::string_view s) { return chunk(id, Data().name(s)); }

// FORM CLIP: its index, then FORM STIL holding the image path.
inline Data lwo3Clip(std::uint32_t index, std::string_view path) {
    return formOf("CLIP", {blank(Data().u4(index)), formOf("STIL", {blank(Data().name(path))})});
}

// FORM SURF: the names chunk, then the surface's children (SMAN, SIDE, FORM NODS, ...).
inline Data lwo3Surface(std::string_view name, const Data& children) {
    return formOf("SURF", Data().add(blank(Data().name(name).name(""))).add(children));
}

// A material input: ENTR with NAME and FORM VALU holding the type and a
// nested FORM VALU with the count and the doubles, then `more` (a FORM TXTR).
inline Data nodeInput(std::string_view name, std::initializer_list<double> numbers, const Data& more = Data()) {
    Data list;
    list.u4(static_cast<std::uint32_t>(numbers.size()));
    for (double d : numbers) list.f8(d);
    const Data type = blank(Data().name(numbers.size() == 3 ? "vparam3" : "vparam"));
    return formOf("ENTR", {text("NAME", name), formOf("VALU", {type, formOf("VALU", {blank(list)}), more})});
}

// One node: NSRV (its kind), then FORM NTAG with its name and FORM NDTA.
inline Data node(std::string_view kind, std::string_view name, const Data& data) {
    const Data tag = formOf("NTAG", {text("NRNM", kind), text("NNME", name), formOf("NDTA", data)});
    return Data().add(text("NSRV", kind)).add(tag);
}
// A material node: Standard keeps its inputs under SATR, the others under ATTR.
inline Data materialNode(std::string_view kind, std::string_view name, const Data& inputs) {
    const Data meta = formOf("META", {chunk("VERS", Data().u4(1)), formOf("ADAT", inputs)});
    return node(kind, name, formOf(kind == "Standard" ? "SATR" : "ATTR", {meta}));
}
// An Image node embedding `path` (with the clip's index when given), laid
// by the UV map `uv` with the wrap modes.
inline Data imageNode(std::string_view name, std::string_view path, std::string_view uv, unsigned wrapU,
                      unsigned wrapV, std::optional<std::uint32_t> clipIndex = std::nullopt) {
    Data clip;
    if (clipIndex) clip.add(blank(Data().u4(*clipIndex)));
    clip.add(formOf("STIL", {blank(Data().name(path))})).add(chunk("FLAG", Data().u4(0x80)));
    return node("Image", name, Data().add(formOf("IIMG", {formOf("CLIP", clip)})).add(chunk("IMAP", Data().u4(5)))
                                   .add(text("IUVI", uv)).add(chunk("IUTL", Data().u4(wrapU)))
                                   .add(chunk("IVTL", Data().u4(wrapV))));
}
// A wire from the output `output` of node `from` to the input `input` of node `to`.
inline Data wire(std::string_view to, std::string_view input, std::string_view from, std::string_view output) {
    return Data().add(text("INME", to)).add(text("IINM", input)).add(text("IINN", from)).add(text("IONM", output));
}
// FORM NODS with the nodes (FORM NNDS) and the wires (FORM NCON).
inline Data nodeGraph(const Data& nodes, const Data& wires) {
    return formOf("NODS", {chunk("NVER", Data().u4(1)), formOf("NNDS", nodes), formOf("NCON", wires)});
}

// A triangle on the surface "Skin", whose Surface node takes its material
// from a Principled BSDF coloured by an Image node; a Standard node with
// other values stands unwired beside it.
inline std::vector<std::uint8_t> lwo3Triangle() {
    const Data standardInputs = Data().add(nodeInput("Color", {1.0, 0.0, 0.0})).add(nodeInput("Diffuse", {0.9}));
    const Data principledInputs = Data().add(nodeInput("Color", {0.25, 0.5, 0.75})).add(nodeInput("Roughness", {0.5}));
    const Data standard = materialNode("Standard", "Standard (1)", standardInputs);
    const Data principled = materialNode("Principled BSDF", "Principled BSDF (1)", principledInputs);
    const Data nodes = Data().add(node("Surface", "Surface", Data())).add(standard).add(principled)
                           .add(imageNode("Image (1)", "Images/skin.png", "Texture", 1, 2));
    const Data wires = Data().add(wire("Surface", "Material", "Principled BSDF (1)", "Material"))
                           .add(wire("Principled BSDF (1)", "Color", "Image (1)", "Color"));
    return form("LWO3", {tagsChunk({"Skin"}), layr(0, ""), pnts({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                         facePols({{0, 1, 2}}), surfPtag({0}), lwo3Clip(1, "Images/skin.png"),
                         lwo3Surface("Skin", Data().add(chunk("SMAN", Data().f4(1.5f))).add(nodeGraph(nodes, wires)))});
}

}  // namespace vxtest
