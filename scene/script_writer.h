#pragma once
// The model articulation script: a header that records the settings, then
// one row per movement of one transformation of one articulation, in one of
// three layouts (a block per row, or tab- or comma-separated spreadsheet
// rows). A row moves the transformation from a start to an end value over a
// stretch of scenario time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/chunk_file.h"
#include "core/job.h"
#include "core/output_file.h"
#include "lwo2/layer_index.h"
#include "scene/envelope.h"

namespace vx {

struct Lwo2Context;

// Title, settings line and, for the spreadsheet layouts, their preamble.
void writeScriptHeader(const ConversionJob& job, OutputFile& script, std::string_view objectFileName);

// The rows a script may still take. A flush that needs a row past them
// writes no more rows and sets `exceeded`.
struct RowBudget {
    std::int64_t left = INT64_MAX;
    bool exceeded = false;
};
// The budget of a whole script under the job's bound.
RowBudget scriptRowBudget(const ConversionJob& job);

// Writes the rows of one channel (scene channel index: 0 to 2 position, 3 to 5
// heading, pitch, bank, 6 to 8 scale) of `layer`, then empties the envelope. Returns the number of rows written; none without a
// layer, without keys, or when the layer's codes have no transformation for
// the channel.
int flushChannel(const ConversionJob& job, Envelope& envelope, Lwo2Context& context,
                 const LayerEntry* layer, int channel, OutputFile& script, RowBudget& budget);

// True when the interval key0 -> key1 is drawn as one row, unsliced.
bool isPlainSpan(const ConversionJob& job, const EnvelopeKey& key0, const EnvelopeKey* key1);

// The number of slices a curved interval is cut into (before the plain-span
// test); capped at kMaxSlices so no scene or setting can ask for endless rows.
inline constexpr int kMaxSlices = 100000;
int sliceCount(const ConversionJob& job, const EnvelopeKey& key0, const EnvelopeKey* key1);

}  // namespace vx
