#pragma once
// A layer group: a component built in memory for one layer number. It shifts
// the layer's geometry so that the pivot lies at the origin, undoes the pivot
// orientation, and collects the Refer blocks of the layer and its children.

#include <string>
#include <string_view>
#include <vector>

#include "core/model_type.h"

namespace vx {

struct Lwo2Context;

struct LayerGroup {
    int key = 0;          // layer number, counted from 1
    std::string name;     // "ParentLayer%d_%s" or "IncludeLayer%d_%s", at most 31 characters
    std::string prefix;   // pivot shift and unset-orientation lines
    std::string body;     // Refer blocks, in the order they were added
    Point3 pivot;         // decoded pivot, in model axes
    Point3 orientation;   // angles about X, Y, Z in degrees
    bool pivotKnown = false;  // the pivot has been decoded and stored
    bool oriented = false;
    bool placed = false;      // some Refer block names this group
    std::vector<LayerGroup*> refers;  // the groups that this group's body names
    // For linkGroups(): a level that never falls from a group to the groups
    // it names, and the groups that name this one from its own level.
    std::size_t level = 0;
    std::vector<LayerGroup*> sameLevelReferrers;
};

// Find the group with `key`, or create it (empty, zero pivot) at the end of
// the list.
LayerGroup& parentGroup(Lwo2Context& context, int key);
LayerGroup& includeGroup(Lwo2Context& context, int key);
// Lookups that never create: the parent group of a layer number, or null.
LayerGroup* findParentGroup(Lwo2Context& context, int key);
const LayerGroup* findParentGroup(const Lwo2Context& context, int key);

// Stores the decoded pivot, makes the prefix the shift of the pivot to the
// origin and marks the pivot known.
void setPivot(LayerGroup& group, const Point3& pivot);
// The "X_Y_Z" angles of an "o" item whose argument starts at `at`; missing ones are 0.
Point3 readOrientation(std::string_view codes, std::size_t at);
// Reads "X_Y_Z" angles from the code string at `at` (missing ones are 0) and
// appends the lines that undo them, Z first.
void setOrientation(LayerGroup& group, std::string_view codes, std::size_t at);
void appendBody(LayerGroup& group, std::string_view text);
// "%g %g %g": pivots and angles as the model file writes them.
void appendTriple(std::string& out, const Point3& p);
// Records that `from`'s body names `to`, unless `to` is `from` or already
// holds it through the groups' Refer blocks: a Refer from `from` to `to`
// would then make the model contain itself. Returns whether it recorded.
// Each link costs amortized O(sqrt(m)) for m links in all, whatever their
// shape; a chain of parents or includes costs a step a layer, whichever way
// it runs.
bool linkGroups(Lwo2Context& context, LayerGroup& from, LayerGroup& to);

}  // namespace vx
