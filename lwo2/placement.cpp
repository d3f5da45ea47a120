#include "lwo2/placement.h"

#include <vector>

#include "core/identifier.h"
#include "core/number_format.h"
#include "lwo2/layer_group.h"

namespace vx {

namespace {

constexpr std::size_t kMaxComponentName = 31;

void appendOriginToPivot(std::string& out, const Point3& pivot, std::string_view comment) {
    out += "\t\tTranslate ";
    appendTriple(out, pivot);
    out += comment;
}

void appendOrientation(std::string& out, const Point3& angles, std::string_view comment) {
    out += "\t\tRotate ";
    appendTriple(out, angles);
    out += comment;
}

// The walk over a layer's code string. Letters outside the vocabulary are
// stepped over with their argument, as the code lookups step over them, so
// that the script writer and the model agree on which items a layer has.
class CodeWalk {
public:
    CodeWalk(const ConversionJob& job, Lwo2Context& context, const LayerPlacement& layer, LayerGroup& own,
             ModelSummary& summary)
        : job_(job), context_(context), layer_(layer), own_(own), summary_(summary) {}

    // The articulation text: the Articulation block, then the extra lines.
    std::string run() {
        const std::string_view codes = layer_.name.codes;
        articulation_ = "\t\tArticulation ";
        articulation_ += layer_.name.component;
        articulation_ += '\n';
        const std::size_t opening = articulation_.size();

        for (std::size_t at = 0; at < codes.size();) at = item(codes, at);

        if (articulation_.size() == opening) {
            articulation_.clear();
        } else {
            articulation_ += "\t\tEndArticulation\n";
        }
        articulation_ += extra_;
        if (!articulationNames_.empty()) {
            std::string line = layer_.name.component;
            line += " - ";
            for (std::size_t i = 0; i < articulationNames_.size(); ++i) {
                if (i > 0) line += ", ";
                line += articulationNames_[i];
            }
            addArticulation(summary_, line);
        }
        return std::move(articulation_);
    }

    std::optional<int> includeTarget() const { return includeTarget_; }

private:
    // Acts on the item at `at`; returns the position of the next item.
    std::size_t item(std::string_view codes, std::size_t at) {
        const char letter = codes[at++];
        if (std::optional<CodeInfo> code = articulationCode(letter, job_.modelType)) {
            return articulationLine(*code, codes, at);
        }
        switch (letter) {
            case 'S': {
                if (at >= codes.size()) return at;
                std::optional<CodeInfo> code = scaleCode(codes[at++]);
                if (code) return articulationLine(*code, codes, at);
                return skipArgument(codes, at);
            }
            case 'p': {
                std::string name = layer_.name.component;
                at = readArgument(extra_, "\t\tPointing ", "0 1 0\n", codes, at, &name);
                addPointing(summary_, name);
                return at;
            }
            case 'e': {
                std::string name = "#";
                return readArgument(extra_, "\t\t", "\n", codes, at, &name);
            }
            case 'i':
                include(codes, at);
                return skipArgument(codes, at);
            case 'o':
                setOrientation(own_, codes, at);
                return skipArgument(codes, at);
            case 'A':
                if (at < codes.size()) ++at;  // the attach point was written before the component
                return skipArgument(codes, at);
            default:
                return skipArgument(codes, at);
        }
    }

    std::size_t articulationLine(const CodeInfo& code, std::string_view codes, std::size_t at) {
        std::string name(code.defaultName);
        at = readArgument(articulation_, code.keyword, code.defaultRange, codes, at, &name);
        articulationNames_.push_back(std::move(name));
        return at;
    }

    // "i" with a layer number refers to that layer's include group from this
    // layer's group; a bare "i" makes this layer includable.
    void include(std::string_view codes, std::size_t at) {
        std::optional<int> number = includeNumber(codes, at);
        if (!number) {
            // The group exists from here on, even if a later "i" takes the layer back out.
            includeGroup(context_, layer_.number);
            includeTarget_ = layer_.number;
            return;
        }
        LayerGroup& included = includeGroup(context_, *number);
        includeTarget_.reset();
        // An include of a group that holds this layer would make the model contain itself.
        if (!linkGroups(context_, own_, included)) return;
        const std::string& target = included.name;
        std::string refer = "\tRefer\n";
        if (own_.oriented) appendOrientation(refer, own_.orientation, "  # Re-set Pivot Point orientation\n");
        if (layer_.pivotNonZero) appendOriginToPivot(refer, layer_.pivot, "  # Origin back to Pivot Point\n");
        refer += "\t\tComponent ";
        refer += target;
        refer += "\n\tEndRefer\n";
        appendBody(own_, refer);
    }

    const ConversionJob& job_;
    Lwo2Context& context_;
    const LayerPlacement& layer_;
    LayerGroup& own_;
    ModelSummary& summary_;
    std::string articulation_;
    std::string extra_;
    std::vector<std::string> articulationNames_;  // for the layer's Articulations line
    std::optional<int> includeTarget_;
};

}  // namespace

void appendRefer(std::string& out, std::string_view component) {
    out += "\tRefer\n\t\tComponent ";
    out += component;
    out += "\n\tEndRefer\n";
}

std::optional<AttachPointName> attachPointOf(int number, std::string_view rawName, std::string_view codes) {
    std::optional<std::size_t> at = findCode(codes, 'A');
    if (!at) return std::nullopt;
    AttachPointName ap;
    ap.component = "AP";
    appendInt(ap.component, number);
    ap.component += '_';
    ap.component += singleLine(rawName);
    if (std::size_t cut = ap.component.find('@'); cut != std::string::npos) ap.component.resize(cut);
    if (ap.component.size() > kMaxComponentName) ap.component.resize(kMaxComponentName);
    ap.label = ap.component.substr(ap.component.find('_') + 1);
    ap.effect = *at + 1 < codes.size() && codes[*at + 1] == 'e';
    return ap;
}

std::optional<std::string> writeAttachPoint(const LayerPlacement& layer, std::string& out,
                                            ModelSummary& summary) {
    std::optional<AttachPointName> ap = attachPointOf(layer.number, layer.rawName, layer.name.codes);
    if (!ap) return std::nullopt;
    addAttachPoint(summary, ap->label);
    out += "Component ";
    out += ap->component;
    out += ap->effect ? "\n\tAttachEffect " : "\n\tAttachPoint ";
    out += ap->label;
    out += "\n\tTranslate ";
    appendTriple(out, layer.pivot);
    out += "   # Attach point location\nEndComponent\n";
    return std::move(ap->component);
}

void setUpGroups(Lwo2Context& context, const LayerPlacement& layer) {
    parentGroup(context, layer.number);
    if (layer.parent) parentGroup(context, *layer.parent);
}

void placeLayer(const ConversionJob& job, Lwo2Context& context, const LayerPlacement& layer, std::string& mainBody,
                ModelSummary& summary) {
    LayerGroup& own = parentGroup(context, layer.number);
    if (layer.pivotNonZero) {
        setPivot(own, layer.pivot);
    } else {
        own.pivotKnown = true;
    }
    std::string refer;
    appendRefer(refer, layer.name.component);
    appendBody(own, refer);

    std::string articulation;
    std::optional<int> includeTarget;
    if (!layer.name.codes.empty()) {
        CodeWalk walk(job, context, layer, own, summary);
        articulation = walk.run();
        includeTarget = walk.includeTarget();
    }

    // The block goes to the include group, else to the LightWave parent's
    // group, else under the root; a group that the layer's own group already
    // holds (a parent chain or include that loops back) is passed over.
    LayerGroup* container = nullptr;
    if (includeTarget) {
        LayerGroup& g = includeGroup(context, *includeTarget);
        if (linkGroups(context, g, own)) container = &g;
    }
    const bool inInclude = container != nullptr;
    if (!container && layer.parent) {
        LayerGroup& g = parentGroup(context, *layer.parent);
        if (linkGroups(context, g, own)) container = &g;
    }

    std::string block = "\tRefer\n";
    if (!inInclude) {
        if (own.oriented) appendOrientation(block, own.orientation, "  # Set Pivot Point orientation\n");
        if (layer.pivotNonZero) appendOriginToPivot(block, layer.pivot, "  # Origin to Pivot Point\n");
    }
    block += articulation;
    block += "\t\tComponent ";
    block += own.name;
    block += "\n\tEndRefer\n";
    own.placed = true;
    if (container) {
        appendBody(*container, block);
    } else {
        mainBody += block;
    }
}

void placeOrphanGroups(Lwo2Context& context, std::string& mainBody) {
    for (LayerGroup& group : context.parentGroups) {
        if (group.placed || group.body.empty()) continue;
        appendRefer(mainBody, group.name);
        group.placed = true;
    }
}

}  // namespace vx
