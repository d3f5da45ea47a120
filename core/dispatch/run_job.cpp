#include "core/dispatch/run_job.h"

#include "core/chunk_file.h"
#include "lwob/convert_lwob.h"

namespace vx {

namespace {

// LightWave 6+ objects are not converted by this build yet.
ConversionStatus runLwo2Unsupported(MessageSink& sink) {
    sink.error("LightWave 6+ objects are not supported yet.");
    return 1;
}

}  // namespace

ConversionStatus runJob(ConversionJob& job, MessageSink& sink) {
    ChunkFile file;
    if (!file.load(job.inputPath, sink)) return 1;
    job.timeScale = job.secondsPerFrame * 30.0;

    const ChunkId form = file.formType();
    if (form == makeId("LWO2")) return runLwo2Unsupported(sink);
    // A LightWave 5 object is always converted and never yields a script.
    if (form == makeId("LWOB")) return convertLwob(job, file, job.outputPath, sink);
    sink.error("Not a Lightwave Object.");
    return 1;
}

ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink) {
    const bool missingName = entries.inputPath.empty() || (entries.convert && entries.outputPath.empty()) ||
                             (entries.articulate && (entries.scenePath.empty() || entries.scriptPath.empty()));
    if (missingName) {
        sink.error("Please enter some filenames.");
        return 1;
    }
    if (!entries.convert && !entries.articulate) {
        sink.error("No convertion options selected.");
        return 1;
    }
    ConversionJob job = entries;
    return runJob(job, sink);
}

}  // namespace vx
