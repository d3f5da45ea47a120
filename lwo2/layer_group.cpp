#include "lwo2/layer_group.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "core/number_format.h"
#include "lwo2/context.h"

namespace vx {

namespace {

constexpr std::size_t kMaxComponentName = 31;

LayerGroup& findOrCreate(std::deque<LayerGroup>& groups, std::map<int, std::size_t>& index, int key,
                         std::string_view kind, const std::string& baseName) {
    auto it = index.find(key);
    if (it != index.end()) return groups[it->second];
    LayerGroup g;
    g.key = key;
    g.name = kind;
    appendInt(g.name, key);
    g.name += '_';
    g.name += baseName;
    if (g.name.size() > kMaxComponentName) g.name.resize(kMaxComponentName);
    index.emplace(key, groups.size());
    groups.push_back(std::move(g));
    return groups.back();
}

// One number as "%f" reads it: leading white space, an optional sign, then a
// decimal or special value. Returns false (and leaves `at`) when none stands there.
bool scanFloat(std::string_view text, std::size_t& at, float& value) {
    std::size_t p = at;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t' || text[p] == '\n' || text[p] == '\r' ||
                               text[p] == '\v' || text[p] == '\f'))
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) return false;
    double v = 0;
    auto r = std::from_chars(text.data() + p, text.data() + text.size(), v, std::chars_format::general);
    if (r.ptr == text.data() + p) return false;
    if (r.ec == std::errc::result_out_of_range) {
        // As strtof does: too large saturates to infinity, too small to zero.
        std::string_view number(text.data() + p, static_cast<std::size_t>(r.ptr - (text.data() + p)));
        std::size_t e = number.find_first_of("eE");
        v = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-' ? 0.0 : HUGE_VAL;
    }
    if (std::fabs(v) > std::numeric_limits<float>::max()) v = v > 0 ? HUGE_VAL : -HUGE_VAL;
    value = static_cast<float>(negative ? -v : v);
    at = static_cast<std::size_t>(r.ptr - text.data());
    return true;
}

}  // namespace

LayerGroup& parentGroup(Lwo2Context& context, int key) {
    return findOrCreate(context.parentGroups, context.parentIndex, key, "ParentLayer", context.groupBaseName());
}

LayerGroup& includeGroup(Lwo2Context& context, int key) {
    return findOrCreate(context.includeGroups, context.includeIndex, key, "IncludeLayer", context.groupBaseName());
}

LayerGroup* findParentGroup(Lwo2Context& context, int key) {
    auto it = context.parentIndex.find(key);
    return it == context.parentIndex.end() ? nullptr : &context.parentGroups[it->second];
}

const LayerGroup* findParentGroup(const Lwo2Context& context, int key) {
    auto it = context.parentIndex.find(key);
    return it == context.parentIndex.end() ? nullptr : &context.parentGroups[it->second];
}

void setPivot(LayerGroup& group, const Point3& pivot) {
    group.pivot = pivot;
    group.prefix = "\tTranslate ";
    appendTriple(group.prefix, Point3{-pivot.x, -pivot.y, -pivot.z});
    group.prefix += "  # Pivot Point to new origin\n";
    group.pivotKnown = true;
}

void setOrientation(LayerGroup& group, std::string_view codes, std::size_t at) {
    float angles[3] = {0, 0, 0};
    std::size_t p = std::min(at, codes.size());
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (p >= codes.size() || codes[p] != '_') break;
            ++p;
        }
        if (!scanFloat(codes, p, angles[i])) break;
    }
    group.orientation = {angles[0], angles[1], angles[2]};
    // Undo in reverse order of the set rotation: Z, then Y, then X.
    if (std::fabs(angles[2]) > 1e-15) {
        group.prefix += "\tRotate 0 0 ";
        appendGeneral(group.prefix, -angles[2]);
        group.prefix += "  # Unset Pivot Point orientation Z\n";
    }
    if (std::fabs(angles[1]) > 1e-15) {
        group.prefix += "\tRotate 0 ";
        appendGeneral(group.prefix, -angles[1]);
        group.prefix += " 0  # Unset Pivot Point orientation Y\n";
    }
    if (std::fabs(angles[0]) > 1e-15) {
        group.prefix += "\tRotate ";
        appendGeneral(group.prefix, -angles[0]);
        group.prefix += " 0 0  # Unset Pivot Point orientation X\n";
    }
    group.oriented = true;
}

void appendBody(LayerGroup& group, std::string_view text) { group.body += text; }

void appendTriple(std::string& out, const Point3& p) {
    appendGeneral(out, p.x);
    out += ' ';
    appendGeneral(out, p.y);
    out += ' ';
    appendGeneral(out, p.z);
}

bool reaches(const LayerGroup& from, const LayerGroup& to) {
    std::vector<const LayerGroup*> pending = {&from};
    std::unordered_set<const LayerGroup*> seen;
    while (!pending.empty()) {
        const LayerGroup* g = pending.back();
        pending.pop_back();
        if (g == &to) return true;
        if (!seen.insert(g).second) continue;
        pending.insert(pending.end(), g->refers.begin(), g->refers.end());
    }
    return false;
}

void addArticulationName(Lwo2Context& context, std::string_view name) {
    if (context.lineHasEntries) context.articulationLine += ", ";
    context.articulationLine += name;
    context.lineHasEntries = true;
}

void addAttachPoint(Lwo2Context& context, std::string_view label) {
    context.attachPoints += "#\t";
    context.attachPoints += label;
    context.attachPoints += '\n';
}

void addPointing(Lwo2Context& context, std::string_view name) {
    context.modelPointing += "#\t";
    context.modelPointing += name;
    context.modelPointing += '\n';
}

}  // namespace vx
