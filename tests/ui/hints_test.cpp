#include "ui/hints.h"

#include <gtest/gtest.h>

namespace {

TEST(Hints, EachTopicHasItsOwnTextAndUnknownTopicsShowTexturemaps) {
    const std::string_view general = vx::ui::hintsText(0);
    const std::string_view articulations = vx::ui::hintsText(1);
    const std::string_view textures = vx::ui::hintsText(2);
    EXPECT_NE(general, articulations);
    EXPECT_NE(articulations, textures);
    EXPECT_EQ(vx::ui::hintsText(7), textures);
    EXPECT_NE(articulations.find("sRPYxyz"), std::string_view::npos);
    EXPECT_NE(textures.find("ParmTransp"), std::string_view::npos);
    EXPECT_EQ(vx::ui::kFirstHintsTopic, 0);
}

}  // namespace
