#include "lwo2/write_layer.h"

#include <cmath>

#include "core/identifier.h"
#include "core/number_format.h"
#include "lwo2/placement.h"

namespace vx {

void writeLayer(const ConversionJob& job, Lwo2Context& context, OutputFile& out, const LayerEntry& entry,
                std::string& mainBody, float& extent, GeometryWriter& geometry, ModelSummary& summary) {
    ChunkFile& file = context.file;
    std::string& text = out.buffer();
    text += "#\n# Layer ";
    appendInt(text, entry.number);
    // A layer hidden in LightWave is left out; it makes no group of its own
    // and adds nothing to the bound radius.
    if (entry.hidden()) {
        text += " (";
        text += singleLine(entry.name);
        text += ") invisible.  Skipping layer.\n";
        return;
    }
    text += ": ";
    text += singleLine(entry.name);
    text += '\n';

    LayerPlacement layer;
    layer.number = entry.number;
    layer.name = parseLayerName(entry.name, entry.number);
    layer.rawName = entry.name;
    layer.parent = entry.parent;
    std::span<std::uint8_t> pivot = layerPivotBytes(file, entry);
    decodePoints(pivot, 1, job.modelType, extent);
    if (pivot.size() == 12) layer.pivot = decodedPoint(pivot.data(), 0);
    layer.pivotNonZero =
        double(std::fabs(layer.pivot.x)) + std::fabs(layer.pivot.y) + std::fabs(layer.pivot.z) > 1e-17;

    const std::optional<std::string> attachPoint = writeAttachPoint(layer, text, summary);

    const std::optional<Chunk> pnts = findInLayer(file, entry, makeId("PNTS"));
    const std::optional<Chunk> pols = findInLayer(file, entry, makeId("POLS"), makeId("FACE"));
    const std::optional<Chunk> ptag = findInLayer(file, entry, makeId("PTAG"), makeId("SURF"));
    if (!attachPoint) {
        if (!pnts) {
            text += "# No points in this layer.\n";
        } else if (!pols) {
            text += "# No polygons in this layer.\n";
        } else if (!ptag) {
            text += "# No polygon surfaces in this layer.\n";
        }
    }

    setUpGroups(context, layer);
    text += "Component ";
    text += layer.name.component;
    text += '\n';
    if (attachPoint) appendRefer(text, *attachPoint);
    placeLayer(job, context, layer, mainBody, summary);

    if (pnts && pols && ptag) {
        geometry.write(job, context, out, entry, LayerChunks{*pnts, *pols, *ptag}, extent, summary);
    }
    out.buffer() += "EndComponent\n";
    out.flushIfFull();
}

}  // namespace vx
