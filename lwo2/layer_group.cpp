#include "lwo2/layer_group.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_set>
#include <utility>
#include <vector>

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

Point3 readOrientation(std::string_view codes, std::size_t at) {
    float angles[3] = {0, 0, 0};
    std::size_t p = std::min(at, codes.size());
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (p >= codes.size() || codes[p] != '_') break;
            ++p;
        }
        if (!scanFloat(codes, p, angles[i])) break;
    }
    return {angles[0], angles[1], angles[2]};
}

void setOrientation(LayerGroup& group, std::string_view codes, std::size_t at) {
    group.orientation = readOrientation(codes, at);
    const float angles[3] = {group.orientation.x, group.orientation.y, group.orientation.z};
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

namespace {

// The loop check keeps the groups in levels, as the incremental cycle
// detection of Bender, Fineman, Gilbert and Tarjan does for sparse graphs:
// no Refer leads to a lower level, and each group lists the groups that name
// it from its own level. A path from `to` back to `from` then climbs from
// `to`'s level to `from`'s, so a Refer up the levels needs no search. Any
// other is checked by two searches that take turns, each within a budget:
// up from `from` through its own level, and down from `to`. A search that
// runs out settles the question; when both overrun their budgets, `to` and
// the groups below it move to the level above `from`'s, where a loop would
// have to come back to `from`. Each check thus costs at most twice the
// budget (the square root of the links so far) beside the moves, and a
// group moves up at most about that many times.

void lift(LayerGroup& group, std::size_t level) {
    group.level = level;
    group.sameLevelReferrers.clear();  // the groups that name it all lie lower now
}

void record(Lwo2Context& context, LayerGroup& from, LayerGroup& to) {
    from.refers.push_back(&to);
    if (from.level == to.level) to.sameLevelReferrers.push_back(&from);
    ++context.groupLinks;
}

// One of the two searches: a depth-first walk along one kind of link that
// takes one link a step, so that the two can take turns.
class Walk {
public:
    Walk(LayerGroup& start, std::vector<LayerGroup*> LayerGroup::*links) : links_(links) {
        seen_.insert(&start);
        pending_.push_back({&start, 0});
    }

    bool exhausted() const { return pending_.empty(); }
    bool saw(const LayerGroup* g) const { return seen_.count(g) != 0; }
    std::size_t steps() const { return steps_; }

    // Follows the next link, or steps back from a group that has none left;
    // true when the link leads to a group that `other` has seen, which lies
    // on a path from `to` to `from`.
    bool step(const Walk& other) {
        ++steps_;
        auto& [group, next] = pending_.back();
        const std::vector<LayerGroup*>& links = group->*links_;
        if (next == links.size()) {
            pending_.pop_back();
            return false;
        }
        LayerGroup* g = links[next++];
        if (!seen_.insert(g).second) return false;
        if (other.saw(g)) return true;
        pending_.push_back({g, 0});
        return false;
    }

private:
    std::vector<LayerGroup*> LayerGroup::*links_;
    std::vector<std::pair<LayerGroup*, std::size_t>> pending_;
    std::unordered_set<const LayerGroup*> seen_;
    std::size_t steps_ = 0;
};

// Lifts `top` to `level` and every group below it that lies lower; true when
// one of the groups below `top` was seen by `above`. The walk goes on after
// that, so that no Refer leads to a lower level afterwards.
bool liftBelow(LayerGroup& top, std::size_t level, const Walk* above) {
    bool met = false;
    lift(top, level);
    std::vector<LayerGroup*> lifted = {&top};
    while (!lifted.empty()) {
        LayerGroup* g = lifted.back();
        lifted.pop_back();
        for (LayerGroup* named : g->refers) {
            if (above && above->saw(named)) met = true;
            if (named->level < level) {
                lift(*named, level);
                lifted.push_back(named);
            }
            if (named->level == level) named->sameLevelReferrers.push_back(g);
        }
    }
    return met;
}

}  // namespace

bool linkGroups(Lwo2Context& context, LayerGroup& from, LayerGroup& to) {
    if (&from == &to) return false;
    // The searches would end at once: nothing higher up holds `from`, and a
    // group that names nothing holds nothing.
    if (from.level < to.level) {
        record(context, from, to);
        return true;
    }
    if (to.refers.empty()) {
        if (to.level < from.level) lift(to, from.level);
        record(context, from, to);
        return true;
    }

    const std::size_t budget = static_cast<std::size_t>(std::sqrt(double(context.groupLinks))) + 1;
    Walk up(from, &LayerGroup::sameLevelReferrers);
    Walk down(to, &LayerGroup::refers);
    while (!up.exhausted() && !down.exhausted()) {
        const bool upGoesOn = up.steps() < budget, downGoesOn = down.steps() < budget;
        if (!upGoesOn && !downGoesOn) break;
        if ((upGoesOn && up.step(down)) || (downGoesOn && down.step(up))) return false;
    }
    // Every search holds its own start from the outset, so a search that ran
    // out without meeting the other has shown that there is no loop, except
    // that the upward one sees only `from`'s level.
    if (down.exhausted()) {
        if (to.level < from.level) liftBelow(to, from.level, nullptr);
        record(context, from, to);
        return true;
    }
    if (up.exhausted() && to.level == from.level) {
        record(context, from, to);
        return true;
    }
    // A loop climbs to `from`'s level and enters it below a group that the
    // upward search saw (all of them, when it ran out), or, when it ran over,
    // reaches `from` itself once everything below `to` lies above that level.
    if (liftBelow(to, up.exhausted() ? from.level : from.level + 1, &up)) return false;
    record(context, from, to);
    return true;
}

}  // namespace vx
