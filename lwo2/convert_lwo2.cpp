#include "lwo2/convert_lwo2.h"

#include <new>

#include "core/identifier.h"
#include "core/mdl_text.h"
#include "core/number_format.h"
#include "lwo2/model_summary.h"
#include "lwo2/placement.h"
#include "lwo2/surface_look_lwo2.h"
#include "lwo2/write_layer.h"

namespace vx {

namespace {

void writeGroup(const LayerGroup& group, std::string& out) {
    out += "#\nComponent ";
    out += group.name;
    out += '\n';
    out += group.prefix;
    out += group.body;
    out += "EndComponent\n";
}

// Every surface's look, read once for all layers. A material of which only
// the colour could be read is named once per run.
std::vector<SurfaceLook> readSurfaceLooks(const Lwo2Context& context, const std::string& objectPath,
                                          MessageSink& sink) {
    std::vector<SurfaceLook> looks;
    looks.reserve(context.surfaces.size());
    for (const Lwo2Surface& surface : context.surfaces) {
        looks.push_back(readSurfaceLook(context, surface));
        const SurfaceLook& look = looks.back();
        if (look.partlyReadMaterial.empty()) continue;
        std::string text = "Warning: Surface \"";
        text += singleLine(look.name);
        text += "\" uses a \"";
        text += singleLine(look.partlyReadMaterial);
        text += "\" material, of which only the colour is read.";
        sink.warning(text, objectPath);
    }
    return looks;
}

ConversionStatus convert(const ConversionJob& job, Lwo2Context& context, const std::string& outputPath,
                         OutputFile& out, MessageSink& sink) {
    if (out.open(outputPath, job.files) != 0) {
        sink.error("Can't open output file.", outputPath, out.systemError());
        return 1;
    }
    const std::string modelName = makeIdentifier(outputPath);
    appendModelHeader(out.buffer(), makeIdentifier(job.inputPath), job.modelType);
    buildSurfaceList(context);

    std::string mainBody;
    float extent = 10.0f;
    const std::vector<SurfaceLook> looks = readSurfaceLooks(context, job.inputPath, sink);
    GeometryWriter geometry(looks);
    ModelSummary summary;
    const LayerIndex& layers = layerIndex(context);
    const std::size_t count = job.sortLayers ? layers.inNumberOrder.size() : layers.inFileOrder.size();
    // A failed write ends the walk: the model can no longer be written.
    for (std::size_t i = 0; i < count && !out.failed(); ++i) {
        const LayerEntry& entry = layers.inFileOrder[job.sortLayers ? layers.inNumberOrder[i] : i];
        writeLayer(job, context, out, entry, mainBody, extent, geometry, summary);
    }
    placeOrphanGroups(context, mainBody);

    std::string& text = out.buffer();
    writeLayerGroups(context, text);
    text += "#\n# Main body:\nComponent ";
    text += modelName;
    text += "_ROOT\n\tRoot\n";
    text += mainBody;
    text += "EndComponent\nBoundRadius ";
    appendGeneral(text, (double(extent) + 1000.0) * 1.5);
    text += "\n#\n";
    writeSummaries(summary, text);
    return finishModelFile(out, modelName, outputPath, sink);
}

}  // namespace

void writeLayerGroups(const Lwo2Context& context, std::string& out) {
    for (const LayerGroup& group : context.includeGroups) writeGroup(group, out);
    for (const LayerGroup& group : context.parentGroups) writeGroup(group, out);
}

ConversionStatus convertLwo2(const ConversionJob& job, Lwo2Context& context, const std::string& outputPath,
                             MessageSink& sink) {
    OutputFile out;
    try {
        return convert(job, context, outputPath, out, sink);
    } catch (const std::bad_alloc&) {
        out.discard();
        sink.error("Out of memory", job.inputPath);
        return 1;
    }
}

}  // namespace vx
