#include "mdl/mdl_pose.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace vx {

std::string poseKey(std::string_view articulation, std::string_view transformation) {
    std::string key;
    key.reserve(articulation.size() + 1 + transformation.size());
    key += articulation;
    key += '.';
    key += transformation;
    return key;
}

double transformationValue(const MdlTransformation& t, std::string_view articulation, const MdlPose& pose) {
    if (pose.empty()) return t.defaultValue;
    const auto found = pose.find(poseKey(articulation, t.name));
    if (found == pose.end() || !std::isfinite(found->second)) return t.defaultValue;
    // The file may give the range the other way round; it still bounds the value.
    const double low = std::min(t.minimum, t.maximum), high = std::max(t.minimum, t.maximum);
    return std::clamp(found->second, low, high);
}

std::vector<PoseLine> poseLines(const MdlModel& model, const std::vector<bool>& components) {
    std::vector<PoseLine> out;
    std::set<std::string, std::less<>> seen;
    const auto add = [&](const MdlArticulation& a, std::size_t component) {
        for (const MdlTransformation& t : a.transformations) {
            std::string key = poseKey(a.name, t.name);
            if (seen.insert(key).second) out.push_back({std::move(key), &t, component});
        }
    };
    for (std::size_t i = 0; i < model.components.size(); ++i) {
        if (!components.empty() && (i >= components.size() || !components[i])) continue;
        const MdlComponent& c = model.components[i];
        for (const MdlRefer& r : c.refers)
            if (r.articulation) add(*r.articulation, i);
        for (const MdlMesh& m : c.meshes)
            if (m.surface.colorArticulation) add(*m.surface.colorArticulation, i);
    }
    return out;
}

bool isVisibleTransformation(MdlTransformKind kind) {
    switch (kind) {
        case MdlTransformKind::XTxTranslate:
        case MdlTransformKind::YTxTranslate:
        case MdlTransformKind::ZTxRotate:
        case MdlTransformKind::XTxScale:
        case MdlTransformKind::YTxScale:
            return false;
        default:
            return true;
    }
}

}  // namespace vx
