#include "scene/scene_reader.h"

#include <new>
#include <optional>
#include <string_view>

#include "core/output_file.h"
#include "lwo2/context.h"
#include "scene/envelope.h"
#include "scene/script_writer.h"
#include "scene/text_lines.h"
#include "scene/text_scan.h"

namespace vx {

namespace {

// Scene lines were read through a 512-byte buffer; a longer line arrives in
// pieces that are handled as lines of their own.
constexpr std::size_t kSceneBuffer = 512;

// Drops the line end and whatever else trails below a space, bytes from 128
// up included (they read as negative characters).
std::string_view trimLineEnd(std::string_view line) {
    while (!line.empty()) {
        const auto c = static_cast<unsigned char>(line.back());
        if (c >= 32 && c < 128) break;
        line.remove_suffix(1);
    }
    return line;
}

bool startsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

// The item loads the converted object when the line ends in the object's file
// name right after a directory separator or the space before the path, so an
// object ship.lwo does not pick up the channels of myship.lwo.
bool namesObject(std::string_view line, std::string_view fileName) {
    if (line.size() <= fileName.size() || line.substr(line.size() - fileName.size()) != fileName) return false;
    const char before = line[line.size() - fileName.size() - 1];
    return before == '/' || before == '\\' || before == ' ';
}

// "  Key value time shape p1 ... p6"; none unless all nine numbers are there.
std::optional<EnvelopeKey> readKey(std::string_view text) {
    TextScanner scan(text);
    EnvelopeKey key;
    int shape = 0;
    std::array<float, 6> p{};
    if (!scan.readFloat(key.value) || !scan.readFloat(key.time) || !scan.readInt(shape)) return std::nullopt;
    for (float& v : p) {
        if (!scan.readFloat(v)) return std::nullopt;
    }
    key.shape = static_cast<KeyShape>(shape);
    if (key.shape == KeyShape::Bezier2D) {
        key.params = {p[0], p[1], p[2], p[3]};
    } else {
        key.tension = p[0];
        key.continuity = p[1];
        key.bias = p[2];
        key.params = {p[3], p[4], 0.0f, 0.0f};
    }
    return key;
}

class SceneReader {
public:
    SceneReader(const ConversionJob& job, Lwo2Context& context, OutputFile& script)
        : job_(job), context_(context), script_(script) {}

    void readLine(std::string_view line) {
        if (startsWith(line, "LoadObjectLayer")) {
            leaveItem();
            if (namesObject(line, context_.file.fileName)) {
                found_ = true;
                // A line without a layer number selects no layer.
                TextScanner scan(line.substr(15));
                int number = 0;
                if (scan.readInt(number)) {
                    layerNumber_ = number;
                    layer_ = findLayer(layerIndex(context_), number);
                }
            }
            return;
        }
        if (startsWith(line, "Load") || startsWith(line, "Add")) {
            leaveItem();  // another scene item begins
            return;
        }
        if (layerNumber_ == 0) return;
        if (startsWith(line, "Channel")) {
            // A channel starts afresh: keys of one left open are dropped.
            TextScanner scan(line.substr(7));
            int index = 0;
            channel_ = scan.readInt(index) ? index : -1;
            envelope_.clear();
            return;
        }
        if (startsWith(line, "  Behaviors")) {
            TextScanner scan(line.substr(11));
            int pre = 0, post = 0;
            if (scan.readInt(pre) && scan.readInt(post)) {
                envelope_.preBehavior = static_cast<EnvelopeBehavior>(pre);
                envelope_.postBehavior = static_cast<EnvelopeBehavior>(post);
            }
        }
        if (line == "}") {
            flush();
            channel_ = -1;
        } else if (channel_ >= 0 && startsWith(line, "  Key")) {
            if (std::optional<EnvelopeKey> key = readKey(line.substr(5))) envelope_.keys.push_back(*key);
        }
    }

    void flush() { rows_ += flushChannel(job_, envelope_, context_, layer_, channel_, script_, budget_); }

    // An item header ends the channel and the item before it.
    void leaveItem() {
        flush();
        channel_ = -1;
        layerNumber_ = 0;
        layer_ = nullptr;
    }

    bool found() const { return found_; }
    long long rows() const { return rows_; }
    // The script would pass its bound on rows, or can no longer be written:
    // reading on is of no use.
    bool full() const { return budget_.exceeded || script_.failed(); }

private:
    const ConversionJob& job_;
    Lwo2Context& context_;
    OutputFile& script_;
    Envelope envelope_;
    RowBudget budget_ = scriptRowBudget(job_);
    int channel_ = -1;
    int layerNumber_ = 0;  // scene layer number of the current item when it is a layer of the object
    const LayerEntry* layer_ = nullptr;
    bool found_ = false;
    long long rows_ = 0;
};

ConversionStatus generate(const ConversionJob& job, Lwo2Context& context, const std::string& scenePath,
                          const std::string& scriptPath, OutputFile& script, MessageSink& sink) {
    TextLineReader scene(kSceneBuffer);
    if (!scene.open(scenePath, job.files)) {
        sink.error("Can't open Lightwave Scene file for input.", scenePath, std::string_view(scene.failureReason()));
        return 1;
    }
    if (script.open(scriptPath, job.files) != 0) {
        sink.error("Can't open Model Articulation output file.", scriptPath, script.systemError());
        return 1;
    }
    writeScriptHeader(job, script, context.file.fileName);

    SceneReader reader(job, context, script);
    std::string_view line;
    while (!reader.full() && scene.next(line)) {
        line = trimLineEnd(line);
        if (!line.empty()) reader.readLine(line);
    }
    if (script.failed()) {
        sink.error("Can't write Model Articulation output file.", scriptPath, script.systemError());
        script.discard();
        return 1;
    }
    if (reader.full()) {
        script.discard();
        std::string text = "The script would hold more than ";
        text += std::to_string(job.maxRows);
        text += " rows; choose a larger time step or fewer slices.";
        sink.error(text, scriptPath);
        return 1;
    }
    // Keys after the last closing brace belong to no complete channel.

    // A scene that never loads the object is the wrong scene: a script of a
    // header alone must not replace a good one.
    if (!reader.found()) {
        script.discard();
        sink.error("Warning: Model not found in scene.", scenePath);
        return 1;
    }
    if (reader.rows() == 0) sink.warning("Warning: No valid articulations found in scene.", scenePath);
    if (script.commit() != 0) {
        sink.error("Can't write Model Articulation output file.", scriptPath, script.systemError());
        return 1;
    }
    return 0;
}

}  // namespace

ConversionStatus generateArticulationScript(const ConversionJob& job, Lwo2Context& context,
                                            const std::string& scenePath, const std::string& scriptPath,
                                            MessageSink& sink) {
    OutputFile script;
    try {
        return generate(job, context, scenePath, scriptPath, script, sink);
    } catch (const std::bad_alloc&) {
        script.discard();
        sink.error("Out of memory", scenePath);
        return 1;
    }
}

}  // namespace vx
