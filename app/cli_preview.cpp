#include "app/cli_preview.h"

#include <algorithm>
#include <charconv>

#include "core/number_format.h"
#include "mdl/read_mdl.h"
#include "preview/preview_sheet.h"

namespace vx {

namespace {

std::string general(double v) {
    std::string s;
    appendGeneral(s, v);
    return s;
}

// The names a pose may use, for the message about one it may not.
std::string knownKeys(const std::vector<PoseLine>& lines) {
    if (lines.empty()) return "the model has no articulations";
    std::string text = "the model has ";
    constexpr std::size_t kListed = 8;
    for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) text += (i ? ", " : "") + lines[i].key;
    if (lines.size() > kListed) text += ", ...";
    return text;
}

// Checks one "KEY=VALUE" against the model's lines and adds it to `pose`.
bool addPose(const std::vector<PoseLine>& lines, const std::string& spec, MdlPose& pose, std::string& problem) {
    const std::size_t eq = spec.rfind('=');
    const std::string key = spec.substr(0, eq);
    double value = 0;
    std::from_chars(spec.data() + eq + 1, spec.data() + spec.size(), value);
    const auto found = std::find_if(lines.begin(), lines.end(), [&](const PoseLine& l) { return l.key == key; });
    if (found == lines.end()) {
        problem = "--pose: no articulation line \"" + key + "\" (" + knownKeys(lines) + ")";
        return false;
    }
    const MdlTransformation& t = *found->line;
    const double low = std::min(t.minimum, t.maximum), high = std::max(t.minimum, t.maximum);
    if (value < low || value > high) {
        problem = "--pose: " + spec + " is outside the range of " + key + ", " + general(low) + " to " + general(high);
        return false;
    }
    pose[key] = value;
    return true;
}

}  // namespace

int previewForCommandLine(const std::string& mdlPath, const std::string& pngPath, const std::vector<std::string>& poses,
                          MessageSink& sink, std::string& problem) {
    MdlModel model;
    if (loadMdlFile(mdlPath, model, sink) != 0) return 1;
    PreviewOptions options;
    const std::vector<PoseLine> lines = poseLines(model);
    for (const std::string& spec : poses)
        if (!addPose(lines, spec, options.pose, problem)) return 2;
    options.articulationFrames = poses.empty();
    return writePreviewSheet(model, options, pngPath, sink);
}

}  // namespace vx
