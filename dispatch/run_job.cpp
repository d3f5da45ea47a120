#include "dispatch/run_job.h"

#include <new>

#include "core/chunk_file.h"
#include "core/file_checks.h"
#include "core/memory_files.h"
#include "lwo2/context.h"
#include "lwo2/convert_lwo2.h"
#include "lwob/convert_lwob.h"
#include "scene/scene_reader.h"

namespace vx {

namespace {

// A run must never write over what it reads: the user's object or scene would
// be lost. Checked once the object's form tells which files will be written.
bool writesOverItsInput(const ConversionJob& job, bool writesModel, bool writesScript, MessageSink& sink) {
    if (writesModel && sameFile(job.outputPath, job.inputPath)) {
        sink.error("The model file would replace the object file.", job.outputPath);
        return true;
    }
    if (writesScript && sameFile(job.scriptPath, job.inputPath)) {
        sink.error("The script file would replace the object file.", job.scriptPath);
        return true;
    }
    if (writesScript && sameFile(job.scriptPath, job.scenePath)) {
        sink.error("The script file would replace the scene file.", job.scriptPath);
        return true;
    }
    if (writesModel && writesScript && sameFile(job.scriptPath, job.outputPath)) {
        sink.error("The script file and the model file are the same file.", job.scriptPath);
        return true;
    }
    if (writesModel && writesScript && sameFile(job.outputPath, job.scenePath)) {
        sink.error("The model file would replace the scene file.", job.outputPath);
        return true;
    }
    return false;
}

// Both steps share one context: the script writer takes the layer pivots
// that the model conversion decoded and stored in the layer groups.
ConversionStatus runLwo2(ConversionJob& job, ChunkFile& file, MessageSink& sink, WrittenFiles& written) {
    if (writesOverItsInput(job, job.convert, job.articulate, sink)) return 1;
    Lwo2Context context(file);
    ConversionStatus status = 0;
    if (job.convert) {
        status = convertLwo2(job, context, job.outputPath, sink);
        written.model = status == 0;
    }
    // The script is written even when the model file could not be.
    if (job.articulate) {
        const ConversionStatus scriptStatus =
            generateArticulationScript(job, context, job.scenePath, job.scriptPath, sink);
        written.script = scriptStatus == 0;
        status |= scriptStatus;
    }
    return status;
}

ConversionStatus dispatch(ConversionJob& job, MessageSink& sink, WrittenFiles& written) {
    ChunkFile file;
    // A script alone needs the layers, not the geometry that makes up most of an object.
    const LoadScope scope = job.convert ? LoadScope::Whole : LoadScope::WithoutGeometry;
    const bool loaded = job.files ? loadStoredObject(file, *job.files, job.inputPath, sink)
                                  : file.load(job.inputPath, sink, scope);
    if (!loaded) return 1;
    job.timeScale = job.secondsPerFrame * 30.0;

    const ChunkId form = file.formType();
    // LWO3 (LightWave 2018 and later) nests its chunks but keeps LWO2's geometry.
    if (form == makeId("LWO2") || form == makeId("LWO3")) return runLwo2(job, file, sink, written);
    // A LightWave 5 object is always converted and never yields a script.
    if (form == makeId("LWOB")) {
        if (writesOverItsInput(job, true, false, sink)) return 1;
        const ConversionStatus status = convertLwob(job, file, job.outputPath, sink);
        written.model = status == 0;
        return status;
    }
    sink.error("Not a Lightwave Object.", job.inputPath);
    return 1;
}

}  // namespace

ConversionStatus runJob(ConversionJob& job, MessageSink& sink, WrittenFiles& written) {
    // An object too large for the memory at hand fails like any other run.
    try {
        return dispatch(job, sink, written);
    } catch (const std::bad_alloc&) {
        sink.error("Out of memory", job.inputPath);
        return 1;
    }
}

ConversionStatus runJob(ConversionJob& job, MessageSink& sink) {
    WrittenFiles written;
    return runJob(job, sink, written);
}

ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink) {
    WrittenFiles written;
    return validateAndRun(entries, sink, written);
}

ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink, WrittenFiles& written) {
    const bool missingName = entries.inputPath.empty() || (entries.convert && entries.outputPath.empty()) ||
                             (entries.articulate && (entries.scenePath.empty() || entries.scriptPath.empty()));
    if (missingName) {
        sink.error("Please enter some filenames.", {});
        return 1;
    }
    if (!entries.convert && !entries.articulate) {
        sink.error("No convertion options selected.", {});
        return 1;
    }
    ConversionJob job = entries;
    return runJob(job, sink, written);
}

}  // namespace vx
