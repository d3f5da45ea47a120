#include "lwo2/model_summary.h"

namespace vx {

namespace {

void writeSection(std::string& out, std::string_view title, const std::vector<std::string>& entries) {
    out += title;
    if (entries.empty()) out += "#\t(none)\n";
    for (const std::string& entry : entries) {
        out += "#\t";
        out += entry;
        out += '\n';
    }
    out += "#\n";
}

}  // namespace

void addArticulation(ModelSummary& summary, std::string_view line) { summary.articulations.emplace_back(line); }

void addTextureUsed(ModelSummary& summary, std::string_view name) {
    if (summary.textureNames.emplace(name).second) summary.texturesUsed.emplace_back(name);
}

void addAttachPoint(ModelSummary& summary, std::string_view label) { summary.attachPoints.emplace_back(label); }

void addPointing(ModelSummary& summary, std::string_view name) { summary.modelPointing.emplace_back(name); }

void addSolarPanelGroup(ModelSummary& summary, std::string_view text) {
    summary.solarPanelGroups.emplace_back(text);
}

void writeSummaries(const ModelSummary& summary, std::string& out) {
    writeSection(out, "# Articulations:\n", summary.articulations);
    writeSection(out, "# Textures used:\n", summary.texturesUsed);
    writeSection(out, "# Attach points:\n", summary.attachPoints);
    writeSection(out, "# Model pointing articulations:\n", summary.modelPointing);
    writeSection(out, "# SolarPanel groups:\n", summary.solarPanelGroups);
}

}  // namespace vx
