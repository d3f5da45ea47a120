#pragma once
#include "core/job.h"
#include "core/message_sink.h"

namespace vx {

// The files a run put in place. Either may be written when the other failed,
// so the status alone does not tell.
struct WrittenFiles {
    bool model = false;
    bool script = false;
};

// Loads the object, tells LightWave 5 from LightWave 6+ objects by the IFF
// form type and runs the conversions the job asks for.
ConversionStatus runJob(ConversionJob& job, MessageSink& sink);
ConversionStatus runJob(ConversionJob& job, MessageSink& sink, WrittenFiles& written);

// The entry checks both programs make before a run: missing file names and no
// action selected are reported, and otherwise a fresh job is run.
ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink);
ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink, WrittenFiles& written);

}  // namespace vx
