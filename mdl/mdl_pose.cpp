#include "mdl/mdl_pose.h"

#include <algorithm>
#include <cmath>

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
