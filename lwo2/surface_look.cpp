#include "lwo2/surface_look.h"

namespace vx {

void readCommentKeywords(std::string_view comment, SurfaceLook& look) {
    if (comment.find("ColorTranslate") != std::string_view::npos) look.colorTranslate = true;
    if (std::size_t at = comment.find("SolarPanel"); at != std::string_view::npos)
        look.solarPanel = std::string(comment.substr(at));
    if (comment.find("ParmTransp") != std::string_view::npos) look.colorKeyed = true;
}

}  // namespace vx
