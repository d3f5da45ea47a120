#pragma once
// The five lists that close a LightWave 6+ model file: articulations, the
// texture images used, attach points, model pointing and solar panel
// groups. They grow while the layers are written and are printed after the
// last one; one conversion owns them.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vx {

struct ModelSummary {
    // One entry a line, in the order they were added.
    std::vector<std::string> articulations;
    std::vector<std::string> texturesUsed;
    std::vector<std::string> attachPoints;
    std::vector<std::string> modelPointing;
    std::vector<std::string> solarPanelGroups;
    // The names already in texturesUsed: an image that several surfaces or
    // layers use is listed once.
    std::unordered_set<std::string> textureNames;
};

// "Name - Channel, Channel": one articulation block and its channels.
void addArticulation(ModelSummary& summary, std::string_view line);
// Adds `name` unless it is listed already.
void addTextureUsed(ModelSummary& summary, std::string_view name);
void addAttachPoint(ModelSummary& summary, std::string_view label);
void addPointing(ModelSummary& summary, std::string_view name);
// Every time, duplicates included: a surface used in two layers adds its
// group twice.
void addSolarPanelGroup(ModelSummary& summary, std::string_view text);

// The Articulations, Textures used, Attach points, Model pointing and
// SolarPanel groups sections, "#\t(none)" standing for an empty list.
void writeSummaries(const ModelSummary& summary, std::string& out);

}  // namespace vx
