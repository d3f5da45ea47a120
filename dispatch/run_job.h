#pragma once
#include "core/job.h"
#include "core/message_sink.h"

namespace vx {

// Loads the object, tells LightWave 5 from LightWave 6+ objects by the IFF
// form type and runs the conversions the job asks for.
ConversionStatus runJob(ConversionJob& job, MessageSink& sink);

// The entry checks both programs make before a run: missing file names and no
// action selected are reported, and otherwise a fresh job is run.
ConversionStatus validateAndRun(const ConversionJob& entries, MessageSink& sink);

}  // namespace vx
