// Parents and includes that loop back through several layers: which Refer
// is passed over decides the whole model, and it depends on the order in
// which the layers are placed. The groups and the main body are compared
// whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;

// The layer groups and the main body: from the first group to the end of the root.
std::string groupsAndRoot(const std::string& mdl) {
    const std::size_t begin = mdl.find("#\nComponent ");
    const std::size_t end = mdl.find("EndComponent\nBoundRadius");
    if (begin == std::string::npos || end == std::string::npos || end < begin) return {};
    return mdl.substr(begin, end - begin);
}

std::string parent(int number) { return "ParentLayer" + std::to_string(number) + "_ship"; }
std::string include(int number) { return "IncludeLayer" + std::to_string(number) + "_ship"; }
std::string refer(const std::string& component) { return "\tRefer\n\t\tComponent " + component + "\n\tEndRefer\n"; }
std::string group(const std::string& name, const std::string& body) {
    return "#\nComponent " + name + "\n" + body + "EndComponent\n";
}
std::string root(const std::string& body) { return "#\n# Main body:\nComponent ship_ROOT\n\tRoot\n" + body; }

struct LoopCase {
    const char* what;
    std::vector<Data> layers;
    bool sortLayers;
    std::string groups;  // groupsAndRoot() of the model
};

TEST(LayerLoops, TheReferThatWouldCloseALoopIsPassedOver) {
    const std::vector<LoopCase> cases = {
        {"an include of a group that is still empty closes a loop through a parent",
         {layr(0, "A@i2", 0, 0, 0, 0, 1u), layr(1, "B@i")}, true,
         group(include(2), "") + group(parent(1), refer("A") + refer(include(2))) +
             group(parent(2), refer(parent(1)) + refer("B")) + root(refer(parent(2)))},
        {"a child that includes its parent's include group",
         {layr(0, "A@i"), layr(1, "B@i1", 0, 0, 0, 0, 0u)}, true,
         group(include(1), refer(parent(1))) + group(parent(1), refer("A")) +
             group(parent(2), refer("B") + refer(include(1))) + root(refer(parent(2)))},
        {"three parents in a loop, placed in number order",
         {layr(0, "A@", 0, 0, 0, 0, 1u), layr(1, "B@", 0, 0, 0, 0, 2u), layr(2, "C@", 0, 0, 0, 0, 0u)}, true,
         group(parent(1), refer("A")) + group(parent(2), refer(parent(1)) + refer("B")) +
             group(parent(3), refer(parent(2)) + refer("C")) + root(refer(parent(3)))},
        {"three parents in a loop, placed in file order",
         {layr(2, "C@", 0, 0, 0, 0, 0u), layr(0, "A@", 0, 0, 0, 0, 1u), layr(1, "B@", 0, 0, 0, 0, 2u)}, false,
         group(parent(3), refer("C")) + group(parent(1), refer(parent(3)) + refer("A")) +
             group(parent(2), refer(parent(1)) + refer("B")) + root(refer(parent(2)))},
        {"three includes in a loop", {layr(0, "A@i2i"), layr(1, "B@i3i"), layr(2, "C@i1i")}, true,
         group(include(2), refer(parent(2))) + group(include(1), refer(parent(1))) + group(include(3), "") +
             group(parent(1), refer("A") + refer(include(2))) + group(parent(2), refer("B") + refer(include(3))) +
             group(parent(3), refer("C") + refer(include(1))) + root(refer(parent(3)))},
        {"a second layer of the same number including the group that holds the first",
         {layr(0, "A@i"), layr(0, "Again@i1")}, false,
         group(include(1), refer(parent(1))) + group(parent(1), refer("A") + refer("Again")) +
             root(refer(parent(1)))},
    };
    for (const LoopCase& c : cases) {
        lwo2test::Converted out =
            lwo2test::convert(form("LWO2", c.layers), [&](vx::ConversionJob& job) { job.sortLayers = c.sortLayers; });
        ASSERT_EQ(out.status, 0) << c.what;
        EXPECT_EQ(groupsAndRoot(out.mdl), c.groups) << c.what;
    }
}

// Whether `to` is `from` or lies below it, by a plain search of the Refers.
bool holds(const vx::LayerGroup& from, const vx::LayerGroup& to) {
    std::vector<const vx::LayerGroup*> pending = {&from};
    std::unordered_set<const vx::LayerGroup*> seen;
    while (!pending.empty()) {
        const vx::LayerGroup* g = pending.back();
        pending.pop_back();
        if (g == &to) return true;
        if (seen.insert(g).second) pending.insert(pending.end(), g->refers.begin(), g->refers.end());
    }
    return false;
}

// Long runs of links between neighbours (in both directions, so that levels
// rise and searches run over their budgets), shortcuts, links back that close
// loops and repeated links, among groups of both kinds; groups join a few at
// a time, so that groups that name nothing are linked to from high levels.
TEST(LayerLoops, ALinkIsRefusedExactlyWhenItWouldCloseALoop) {
    vx::ChunkFile file;
    vx::Lwo2Context context(file);
    constexpr int kGroups = 400;
    std::vector<vx::LayerGroup*> groups;
    for (int key = 1; key <= kGroups; ++key)
        groups.push_back(key % 3 ? &vx::parentGroup(context, key) : &vx::includeGroup(context, key));
    std::mt19937 random(20240611);
    int refused = 0;
    for (int i = 0; i < 6000; ++i) {
        const int joined = std::min(kGroups, 20 + i / 12);
        const int a = int(random() % joined);
        int b;
        switch (random() % 4) {
            case 0: b = (a + 1) % joined; break;
            case 1: b = (a + joined - 1) % joined; break;
            case 2: b = (a + 1 + int(random() % 20)) % joined; break;
            default: b = int(random() % joined); break;
        }
        vx::LayerGroup& from = *groups[a];
        vx::LayerGroup& to = *groups[b];
        const bool loop = holds(to, from);
        const std::size_t before = from.refers.size();
        ASSERT_EQ(vx::linkGroups(context, from, to), !loop) << "link " << i << ": " << a << " to " << b;
        ASSERT_EQ(from.refers.size(), before + (loop ? 0 : 1));
        refused += loop;
    }
    EXPECT_GT(refused, 1000);  // the loops were there to be refused
}

}  // namespace
