#include "mdl/read_mdl.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

#include "mdl/mdl_parser.h"

namespace vx {

namespace mdlread {

namespace {

constexpr std::string_view kCantRead = "Can't read model file.";

struct TransformKeyword {
    std::string_view keyword;
    MdlTransformKind kind;
};

constexpr std::array<TransformKeyword, 18> kTransformKeywords{{
    {"uniformScale", MdlTransformKind::UniformScale},
    {"xRotate", MdlTransformKind::XRotate},
    {"yRotate", MdlTransformKind::YRotate},
    {"zRotate", MdlTransformKind::ZRotate},
    {"xTranslate", MdlTransformKind::XTranslate},
    {"yTranslate", MdlTransformKind::YTranslate},
    {"zTranslate", MdlTransformKind::ZTranslate},
    {"xScale", MdlTransformKind::XScale},
    {"yScale", MdlTransformKind::YScale},
    {"zScale", MdlTransformKind::ZScale},
    {"xTxTranslate", MdlTransformKind::XTxTranslate},
    {"yTxTranslate", MdlTransformKind::YTxTranslate},
    {"zTxRotate", MdlTransformKind::ZTxRotate},
    {"xTxScale", MdlTransformKind::XTxScale},
    {"yTxScale", MdlTransformKind::YTxScale},
    {"redColorTranslate", MdlTransformKind::RedColor},
    {"greenColorTranslate", MdlTransformKind::GreenColor},
    {"blueColorTranslate", MdlTransformKind::BlueColor},
}};

// Keywords that end or open a structure: standing where a Refer's command
// line may stand, they mean a line is missing.
bool isStructureKeyword(std::string_view word) {
    static constexpr std::array<std::string_view, 13> kWords{
        "Refer", "EndRefer", "EndComponent", "Root", "BoundRadius", "Points", "EndPoints",
        "PolygonMesh", "EndPolygonMesh", "EndArticulation", "NumVerts", "NumPolys", "Polys"};
    for (std::string_view w : kWords)
        if (word == w) return true;
    return false;
}

// "Translate x y z" or "Rotate x y z", with a comment after the numbers
// ("# Origin to Pivot Point").
bool readStep(Parser& p, MdlStep::Kind kind, std::vector<MdlStep>& steps) {
    std::string_view rest = p.line;
    takeWord(rest);
    MdlStep step{kind, 0, 0, 0, p.lines.number()};
    double* const values[3] = {&step.x, &step.y, &step.z};
    for (double* v : values) {
        const std::string_view word = takeWord(rest);
        if (!parseNumber(word, *v)) return p.failWord("a number", word);
    }
    if (!rest.empty() && rest[0] != '#') return p.failWord("the end of the line or a comment", takeWord(rest));
    steps.push_back(step);
    return true;
}

// A model type from its header line, exactly as the converter writes it.
bool modelTypeOf(std::string_view line, ModelType& type) {
    for (ModelType t : {ModelType::SpacecraftAircraft, ModelType::GroundVehicle, ModelType::Facility, ModelType::None}) {
        std::string_view known = axisRotationLine(t);
        known.remove_suffix(1);  // its line end
        if (trimEnd(line) == known) {
            type = t;
            return true;
        }
    }
    return false;
}

bool readRefer(Parser& p, MdlRefer& refer) {
    while (p.next()) {
        const std::string_view word = p.keyword();
        const bool commandsBegun = refer.articulation.has_value() || !refer.extraLines.empty();
        if ((word == "Translate" || word == "Rotate") && !commandsBegun) {
            if (!readStep(p, word == "Translate" ? MdlStep::Translate : MdlStep::Rotate, refer.steps)) return false;
        } else if (word == "Articulation" && !refer.articulation) {
            MdlArticulation& a = refer.articulation.emplace();
            a.name = afterKeyword(p.line, word);
            a.line = p.lines.number();
            if (!readArticulation(p, a)) return false;
        } else if (word == "Component") {
            refer.component = afterKeyword(p.line, word);
            refer.line = p.lines.number();
            if (refer.component.empty()) return p.failWord("a component name", {});
            return p.expectLine("EndRefer");
        } else if (isStructureKeyword(word) || word == "Translate" || word == "Rotate" || word == "Articulation") {
            return p.fail("Component");
        } else {
            refer.extraLines.emplace_back(trimEnd(p.line));
        }
    }
    return p.fail("Component");
}

bool readComponent(Parser& p, MdlModel& model, MdlComponent& c) {
    enum { Opened, Placing, Holding } phase = Opened;
    p.pendingSurface = {};
    while (p.next()) {
        const std::string_view word = p.keyword();
        if (word == "Root" && trimEnd(p.line) == "Root") {
            if (phase != Opened) return p.fail("Root only directly after the Component line");
            if (model.root >= 0) return p.fail("one Root component only");
            c.root = true;
            phase = Placing;
        } else if ((word == "Translate" || word == "Rotate") && phase != Holding) {
            if (!readStep(p, word == "Translate" ? MdlStep::Translate : MdlStep::Rotate, c.steps)) return false;
            phase = Placing;
        } else if ((word == "AttachPoint" || word == "AttachEffect") && phase != Holding && !c.attach) {
            c.attach = MdlAttach{word == "AttachEffect", std::string(afterKeyword(p.line, word))};
            phase = Placing;
        } else if (word == "Refer" && trimEnd(p.line) == "Refer") {
            phase = Holding;
            if (!readRefer(p, c.refers.emplace_back())) return false;
        } else if ((word == "Points" || word == "PolygonMesh") && trimEnd(p.line) == word) {
            phase = Holding;
            if (!readMeshBlock(p, word == "Points", c.meshes.emplace_back())) return false;
        } else if (word == "EndComponent" && trimEnd(p.line) == word) {
            return true;
        } else if (word == "Component") {
            return p.fail("EndComponent");
        } else {
            return p.fail("Refer, Points, PolygonMesh or EndComponent");
        }
    }
    return p.fail("EndComponent");
}

bool readModel(Parser& p, MdlModel& model) {
    // The header: comments up to the first component, one of them the axis line.
    bool typed = false;
    std::string_view raw;
    while (true) {
        if (!p.lines.next(raw)) {
            p.atEnd = true;
            return p.fail("Component");
        }
        const std::string_view line = trimStart(raw);
        if (line.empty()) continue;
        if (line[0] == '#') {
            constexpr std::string_view kAxis = "# Axis rotation applied: ";
            if (line.starts_with(kAxis)) {
                if (!modelTypeOf(line, model.modelType)) {
                    p.line = line;
                    return p.failWord("a known axis rotation", line.substr(kAxis.size()));
                }
                typed = true;
            }
            continue;
        }
        p.line = line;
        break;
    }
    if (p.keyword() != "Component") return p.fail("Component");
    if (!typed) return p.fail("the \"# Axis rotation applied: \" line before the first component");

    // Components, the root last with BoundRadius after it.
    while (true) {
        if (p.keyword() == "BoundRadius") return p.fail("a component marked Root before BoundRadius");
        if (p.keyword() != "Component") return p.fail("Component");
        MdlComponent& c = model.components.emplace_back();
        c.name = afterKeyword(p.line, "Component");
        c.line = p.lines.number();
        if (c.name.empty()) return p.failWord("a component name", {});
        if (!readComponent(p, model, c)) return false;
        if (c.root) {
            model.root = static_cast<int>(model.components.size() - 1);
            if (!p.next() || p.keyword() != "BoundRadius") return p.fail("BoundRadius");
            std::string_view rest = afterKeyword(p.line, "BoundRadius");
            const std::string_view word = takeWord(rest);
            if (!parseNumber(word, model.boundRadius)) return p.failWord("a number", word);
            if (!rest.empty()) return p.failWord("the end of the line", takeWord(rest));
            if (p.next()) return p.fail("only comments after BoundRadius");
            return true;
        }
        if (!p.next()) return p.fail("a component marked Root");
    }
}

// Every Refer's name is looked up; a loop of references is refused, since no
// placement could ever finish.
bool linkComponents(Parser& p, MdlModel& model, std::vector<std::pair<int, std::string>>& duplicates) {
    std::unordered_map<std::string_view, int> byName;
    byName.reserve(model.components.size());
    for (std::size_t i = 0; i < model.components.size(); ++i) {
        const MdlComponent& c = model.components[i];
        if (!byName.emplace(c.name, static_cast<int>(i)).second) duplicates.emplace_back(c.line, c.name);
    }
    for (MdlComponent& c : model.components) {
        for (MdlRefer& r : c.refers) {
            const auto found = byName.find(r.component);
            if (found == byName.end()) {
                p.reason = "line " + std::to_string(r.line) + ": expected a component of the file, found \"" +
                           shownWord(r.component) + '"';
                return false;
            }
            r.target = found->second;
        }
    }
    // Depth-first over the references without recursion: a chain of nested
    // components may be as deep as the file is long.
    enum : unsigned char { Unseen, Open, Done };
    std::vector<unsigned char> state(model.components.size(), Unseen);
    std::vector<std::pair<int, std::size_t>> stack;
    for (std::size_t start = 0; start < model.components.size(); ++start) {
        if (state[start] != Unseen) continue;
        stack.emplace_back(static_cast<int>(start), 0);
        state[start] = Open;
        while (!stack.empty()) {
            auto& [at, next] = stack.back();
            const std::vector<MdlRefer>& refers = model.components[static_cast<std::size_t>(at)].refers;
            if (next == refers.size()) {
                state[static_cast<std::size_t>(at)] = Done;
                stack.pop_back();
                continue;
            }
            const MdlRefer& r = refers[next++];
            const auto target = static_cast<std::size_t>(r.target);
            if (state[target] == Open) {
                p.reason = "line " + std::to_string(r.line) +
                           ": expected a component that does not hold this one, found \"" + shownWord(r.component) + '"';
                return false;
            }
            if (state[target] == Unseen) {
                state[target] = Open;
                stack.emplace_back(r.target, 0);
            }
        }
    }
    return true;
}

}  // namespace

bool readArticulation(Parser& p, MdlArticulation& articulation) {
    while (p.next()) {
        const std::string_view word = p.keyword();
        if (word == "EndArticulation" && trimEnd(p.line) == word) {
            if (articulation.transformations.empty()) return p.fail("a transformation");
            return true;
        }
        const TransformKeyword* known = nullptr;
        for (const TransformKeyword& k : kTransformKeywords)
            if (k.keyword == word) known = &k;
        if (!known) return p.fail("a transformation or EndArticulation");
        // "keyword name minimum default maximum"; the name may hold blanks,
        // so the numbers are taken from the end.
        std::string_view rest = trimEnd(afterKeyword(p.line, word));
        MdlTransformation t;
        t.kind = known->kind;
        t.line = p.lines.number();
        double* const values[3] = {&t.maximum, &t.defaultValue, &t.minimum};
        for (double* v : values) {
            std::size_t blank = rest.size();
            while (blank > 0 && !isBlank(rest[blank - 1])) --blank;
            const std::string_view number = rest.substr(blank);
            if (!parseNumber(number, *v)) return p.failWord("a name and three numbers (minimum, default, maximum)", number);
            rest = trimEnd(rest.substr(0, blank));
        }
        t.name = rest;
        articulation.transformations.push_back(std::move(t));
    }
    return p.fail("EndArticulation");
}

}  // namespace mdlread

int readMdlText(std::string_view text, std::string_view name, MdlModel& model, MessageSink& sink) {
    model = MdlModel{};
    try {
        mdlread::Parser p(text);
        std::vector<std::pair<int, std::string>> duplicates;
        if (!mdlread::readModel(p, model) || !mdlread::linkComponents(p, model, duplicates)) {
            model = MdlModel{};
            sink.error(mdlread::kCantRead, name, p.reason);
            return 1;
        }
        for (const auto& [line, component] : duplicates) {
            const std::string where = "line " + std::to_string(line) + ": Component " + shownWord(component);
            sink.report({Severity::Warning, "Component defined twice; references use the first.", name, where});
        }
        return 0;
    } catch (const std::bad_alloc&) {
        model = MdlModel{};
        sink.error("Out of memory", name);
        return 1;
    }
}

namespace {

// Reads to the end of the file into `text`, which starts `reserve` long and
// grows only when the file has grown since; false with errno set on a read error.
// A model of a million triangles is a hundred megabytes of text: it is read
// straight into place, with no copy from a smaller buffer.
bool readWhole(int fd, std::size_t reserve, std::unique_ptr<char[]>& text, std::size_t& size) {
    std::size_t capacity = std::max<std::size_t>(reserve + 1, 1 << 16);
    text = std::make_unique_for_overwrite<char[]>(capacity);
    size = 0;
    while (true) {
        if (size == capacity) {
            auto larger = std::make_unique_for_overwrite<char[]>(2 * capacity);
            std::memcpy(larger.get(), text.get(), size);
            text = std::move(larger);
            capacity *= 2;
        }
        const ssize_t n = ::read(fd, text.get() + size, capacity - size);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        size += static_cast<std::size_t>(n);
    }
}

}  // namespace

int loadMdlFile(const std::string& path, MdlModel& model, MessageSink& sink) {
    model = MdlModel{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        sink.error(mdlread::kCantRead, path, errno);
        return 1;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular && st.st_size > 0) {
        // Mapped, a file's pages are read where the system caches them, all
        // mapped at once since the reader takes every one in turn. The
        // converter replaces a model by renaming a new file over it, so the
        // mapped file is not cut short under the reader.
        const auto length = static_cast<std::size_t>(st.st_size);
        void* mapped = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (mapped != MAP_FAILED) {
            ::madvise(mapped, length, MADV_SEQUENTIAL);
            const int status = readMdlText(std::string_view(static_cast<const char*>(mapped), length), path, model, sink);
            ::munmap(mapped, length);
            return status;
        }
    }
    std::unique_ptr<char[]> text;
    std::size_t size = 0;
    try {
        if (!readWhole(fd, regular ? static_cast<std::size_t>(st.st_size) : 0, text, size)) {
            sink.error(mdlread::kCantRead, path, errno);
            return 1;
        }
    } catch (const std::bad_alloc&) {
        sink.error("Out of memory", path);
        return 1;
    }
    return readMdlText(std::string_view(text.get(), size), path, model, sink);
}

}  // namespace vx
