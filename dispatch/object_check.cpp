#include "dispatch/object_check.h"

#include <map>
#include <set>
#include <utility>

#include "core/byte_reader.h"
#include "core/chunk_file.h"
#include "core/file_checks.h"
#include "core/identifier.h"
#include "core/message_sink.h"
#include "core/number_format.h"
#include "lwo2/context.h"
#include "lwo2/layer_codes.h"
#include "lwo2/layer_group.h"
#include "lwo2/layer_index.h"
#include "lwo2/placement.h"
#include "lwo2/surface_look_lwo2.h"
#include "lwo2/surface_text.h"
#include "lwob/surface_index.h"

namespace vx {

namespace {

// Keeps the load's error text; nothing else is reported while loading.
class ErrorText final : public MessageSink {
public:
    explicit ErrorText(std::string& text) : text_(text) {}
    void report(const Message& m) override {
        if (m.severity != Severity::Error || !text_.empty()) return;
        text_ = m.text;
        if (m.reason.empty()) return;
        text_ += " (";
        text_ += m.reason;
        text_ += ')';
    }

private:
    std::string& text_;
};

std::string_view withoutNewline(std::string_view s) {
    if (!s.empty() && s.back() == '\n') s.remove_suffix(1);
    return s;
}

void addArticulation(CheckedLayer& layer, std::string_view code, const CodeInfo& info, const CodeArgument& arg) {
    CheckedArticulation a;
    a.code = code;
    a.name = arg.name.value_or(std::string(info.defaultName));
    a.range = arg.range.size() >= 2 ? arg.range : std::string(withoutNewline(info.defaultRange));
    layer.articulations.push_back(std::move(a));
}

// One item of the codes, stepped over as the converter steps over it: the
// letter at `at`, its argument from `arg`. Rotation keywords depend on the
// model type; names and ranges do not.
void readItem(CheckedLayer& layer, std::string_view codes, std::size_t at, std::size_t arg) {
    const char letter = codes[at];
    const CodeArgument argument = readCodeArgument(codes, arg);
    if (std::optional<CodeInfo> code = articulationCode(letter, ModelType::SpacecraftAircraft)) {
        addArticulation(layer, codes.substr(at, 1), *code, argument);
        return;
    }
    switch (letter) {
        case 'S':
            if (std::optional<CodeInfo> code = at + 1 < codes.size() ? scaleCode(codes[at + 1]) : std::nullopt) {
                addArticulation(layer, codes.substr(at, 2), *code, argument);
                return;
            }
            break;
        case 'p':
            layer.pointing.push_back(
                {argument.name.value_or(layer.component), argument.range.size() >= 2 ? argument.range : "0 1 0"});
            return;
        case 'e':
            layer.extraLines.push_back(argument.name.value_or("#") + ' ' +
                                       (argument.range.size() >= 2 ? argument.range : std::string()));
            return;
        case 'i':
            if (std::optional<int> number = includeNumber(codes, arg)) {
                layer.includes.push_back(*number);
                layer.includable = false;
            } else {
                layer.includable = true;
            }
            return;
        case 'o': {
            const Point3 o = readOrientation(codes, arg);
            layer.orientation = std::array<float, 3>{o.x, o.y, o.z};
            return;
        }
        case 'A': return;
        default: break;
    }
    layer.unknownCodes.emplace_back(codes.substr(at, arg - at));
}

CheckedLayer readLayer(ChunkFile& file, const LayerEntry& entry) {
    CheckedLayer layer;
    layer.number = entry.number;
    layer.name = singleLine(entry.name);
    const LayerName name = parseLayerName(entry.name, entry.number);
    layer.component = name.component;
    layer.codes = name.codes;
    layer.parent = entry.parent;
    layer.hidden = entry.hidden();
    std::span<std::uint8_t> pivot = layerPivotBytes(file, entry);
    if (pivot.size() == 12) layer.pivot = {loadF4(pivot.data()), loadF4(pivot.data() + 4), loadF4(pivot.data() + 8)};
    if (std::optional<AttachPointName> ap = attachPointOf(entry.number, entry.name, name.codes)) {
        layer.attachPoint = CheckedAttachPoint{ap->label, ap->effect};
    }
    const std::string_view codes = layer.codes;
    for (std::size_t at = 0; at < codes.size();) {
        const std::size_t arg = pastCodeLetter(codes, at);
        readItem(layer, codes, at, arg);
        at = skipArgument(codes, arg);
    }
    return layer;
}

std::string layerSubject(const CheckedLayer& layer) {
    std::string s = "layer ";
    appendInt(s, layer.number);
    return s + " \"" + layer.name + '"';
}

void warn(ObjectCheck& report, std::string subject, std::string text) {
    report.warnings.push_back({std::move(subject), std::move(text)});
}

// The first layer of each number, as the converter's lookups find it.
std::map<int, const CheckedLayer*> layersByNumber(const ObjectCheck& report) {
    std::map<int, const CheckedLayer*> byNumber;
    for (const CheckedLayer& layer : report.layers) byNumber.emplace(layer.number, &layer);
    return byNumber;
}

void checkLayerCodes(ObjectCheck& report, const CheckedLayer& layer, const std::map<int, const CheckedLayer*>& byNumber) {
    const std::string subject = layerSubject(layer);
    for (const std::string& item : layer.unknownCodes) {
        warn(report, subject, "code \"" + item + "\" is outside the vocabulary and is ignored");
    }
    std::set<std::string> names, doubled;
    for (const CheckedArticulation& a : layer.articulations) {
        if (!names.insert(a.name).second && doubled.insert(a.name).second) {
            warn(report, subject, "has two articulations named \"" + a.name + '"');
        }
    }
    for (int n : layer.includes) {
        std::string text = "includes layer ";
        appendInt(text, n);
        auto it = byNumber.find(n);
        if (it == byNumber.end()) {
            warn(report, subject, text + ", which does not exist");
        } else if (it->second->hidden || !it->second->includable) {
            warn(report, subject, text + ", which is not includable (no bare \"i\", or hidden): the include is empty");
        }
    }
    if (layer.parent && !byNumber.count(*layer.parent)) {
        std::string text = "has the parent layer ";
        appendInt(text, *layer.parent);
        warn(report, subject, text + ", which does not exist");
    }
}

// The layers that hold each written layer in the model: those that include
// it when it is includable, else its parent.
std::map<int, std::vector<int>> holders(const std::map<int, const CheckedLayer*>& byNumber) {
    auto written = [&](int n) {
        auto it = byNumber.find(n);
        return it != byNumber.end() && !it->second->hidden ? it->second : nullptr;
    };
    std::map<int, std::vector<int>> held;
    for (const auto& [number, layer] : byNumber) {
        if (layer->hidden) continue;
        for (int n : layer->includes) {
            if (const CheckedLayer* target = written(n); target && target->includable) held[n].push_back(number);
        }
        if (!layer->includable && layer->parent && written(*layer->parent)) held[number].push_back(*layer->parent);
    }
    return held;
}

// A depth-first walk from each layer up through its holders; every edge
// back into the walk's path closes a loop, named from where it closes.
void checkLoops(ObjectCheck& report, const std::map<int, const CheckedLayer*>& byNumber) {
    const std::map<int, std::vector<int>> held = holders(byNumber);
    std::map<int, int> state;  // 1 on the path, 2 done
    for (const auto& [start, layer] : byNumber) {
        if (state[start] != 0) continue;
        std::vector<std::pair<int, std::size_t>> path{{start, 0}};
        state[start] = 1;
        while (!path.empty()) {
            auto& [node, next] = path.back();
            auto it = held.find(node);
            if (it == held.end() || next >= it->second.size()) {
                state[node] = 2;
                path.pop_back();
                continue;
            }
            const int up = it->second[next++];
            if (state[up] == 0) {
                state[up] = 1;
                path.push_back({up, 0});
            } else if (state[up] == 1) {
                std::string text = "is in a loop of parents and includes:";
                std::size_t from = 0;
                while (path[from].first != up) ++from;
                for (std::size_t i = from; i < path.size(); ++i) {
                    text += ' ';
                    appendInt(text, path[i].first);
                    text += " >";
                }
                appendInt(text += ' ', up);
                warn(report, layerSubject(*byNumber.at(up)), text);
            }
        }
    }
}

std::string channelName(TextureChannel c) {
    switch (c) {
        case TextureChannel::Color: return "colour";
        case TextureChannel::Transparency: return "transparency";
        case TextureChannel::Bump: return "bump";
        default: return "other";
    }
}

// The image beside the object (as the model's user will keep it), else at
// its stored path; empty when neither is a file.
std::string findImage(const std::string& objectPath, const std::string& stored) {
    if (stored.empty()) return {};
    const std::size_t cut = stored.find_last_of("/\\:");
    const std::string base = cut == std::string::npos ? stored : stored.substr(cut + 1);
    const std::size_t slash = objectPath.rfind('/');
    const std::string beside = slash == std::string::npos ? base : objectPath.substr(0, slash + 1) + base;
    if (!base.empty() && isRegularFile(beside)) return beside;
    if (isRegularFile(stored)) return stored;
    return {};
}

CheckedSurface readSurface(const Lwo2Context& context, const Lwo2Surface& surface, const std::string& objectPath) {
    CheckedSurface checked;
    checked.look = readSurfaceLook(context, surface);
    for (const SurfaceTexture& t : checked.look.textures) {
        if (!t.image) continue;
        CheckedImage image{channelName(t.channel), t.image->path, imageName(t.image->path, true), {}};
        image.foundAt = findImage(objectPath, image.path);
        checked.images.push_back(std::move(image));
    }
    checked.look.textures.clear();
    return checked;
}

void checkLayered(ChunkFile& file, ObjectCheck& report) {
    report.hasLayers = true;
    Lwo2Context context(file);
    for (const LayerEntry& entry : layerIndex(context).inFileOrder) report.layers.push_back(readLayer(file, entry));
    const std::map<int, const CheckedLayer*> byNumber = layersByNumber(report);
    for (const CheckedLayer& layer : report.layers) checkLayerCodes(report, layer, byNumber);
    checkLoops(report, byNumber);
    buildSurfaceList(context);
    for (const Lwo2Surface& surface : context.surfaces) {
        report.surfaces.push_back(readSurface(context, surface, report.path));
        const CheckedSurface& s = report.surfaces.back();
        for (const CheckedImage& image : s.images) {
            if (!image.foundAt.empty()) continue;
            warn(report, "surface \"" + singleLine(s.look.name) + '"',
                 image.path.empty() ? "a " + image.channel + " texture names an image clip that is missing"
                                    : "image \"" + singleLine(image.path) +
                                          "\" is found neither beside the object nor at its stored path");
        }
    }
}

// A LightWave 5 object: its surfaces and their colours.
void checkLwob(const ChunkFile& file, ObjectCheck& report) {
    const SurfaceChunks chunks = indexSurfaceChunks(file);
    for (std::string_view name : lwobSurfaceNames(file)) {
        CheckedSurface s;
        s.look.name = name;
        const std::optional<Chunk> surf = findSurfaceChunk(chunks, name);
        std::optional<Chunk> colour = surf ? findLwobSurfaceField(file, *surf, makeId("COLR")) : std::nullopt;
        if (colour && colour->size >= 3) {
            ByteReader rgb = file.reader(*colour);
            std::array<float, 3> c{};
            for (float& v : c) v = float(rgb.u1()) / 255.0f;
            s.look.color = c;
        }
        report.surfaces.push_back(std::move(s));
    }
}

}  // namespace

int checkObject(const std::string& path, ObjectCheck& report) {
    report = ObjectCheck{};
    report.path = path;
    ChunkFile file;
    ErrorText sink(report.error);
    if (!file.load(path, sink, LoadScope::WithoutGeometry)) return 1;
    const ChunkId form = file.formType();
    if (form == makeId("LWO2") || form == makeId("LWO3")) {
        report.form = form == makeId("LWO2") ? "LWO2" : "LWO3";
        checkLayered(file, report);
    } else if (form == makeId("LWOB")) {
        report.form = "LWOB";
        checkLwob(file, report);
    } else {
        report.error = "Not a Lightwave Object.";
        return 1;
    }
    return report.warnings.empty() ? 0 : 1;
}

}  // namespace vx
