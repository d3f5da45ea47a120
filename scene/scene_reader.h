#pragma once
// Turns a LightWave scene (.lws) into the articulation script of the object
// being converted: the scene is streamed line by line, the object's layers are
// recognised among the scene's items, and every channel's keys become script
// rows as soon as the channel closes.

#include <string>

#include "core/job.h"
#include "core/message_sink.h"

namespace vx {

struct Lwo2Context;

// 0 when the scene was read to its end (warnings included); 1 when the scene
// cannot be read or the script cannot be written. The script is replaced only
// when it was written completely.
ConversionStatus generateArticulationScript(const ConversionJob& job, Lwo2Context& context,
                                            const std::string& scenePath, const std::string& scriptPath,
                                            MessageSink& sink);

}  // namespace vx
