#include "core/output_paths.h"

#include <gtest/gtest.h>

namespace {

// Only a final ".lwo" or ".lws", in any case, is replaced; a derived name must
// never be the source's own.
TEST(OutputPaths, OnlyAFinalObjectOrSceneEndingIsReplaced) {
    const std::pair<const char*, const char*> models[] = {
        {"ship.LWO", "ship.mdl"}, {"a.lwo.lwo", "a.lwo.mdl"}, {".lwo", ".mdl"}, {"", ".mdl"},
    };
    for (const auto& [object, model] : models) EXPECT_EQ(vx::defaultOutputPath(object), model) << object;

    const std::pair<const char*, std::optional<std::string>> scripts[] = {
        {"dish.LWS", "dish.fma"}, {"a.lws.lws", "a.lws.fma"}, {"dish.lws.bak", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [scene, script] : scripts) EXPECT_EQ(vx::deriveScriptPath(scene, ".fma"), script) << scene;
}

}  // namespace
