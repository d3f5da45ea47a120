#include "core/identifier.h"

#include <gtest/gtest.h>

namespace {

TEST(MakeIdentifier, KeepsTheLastPathComponentUpToItsFirstDot) {
    EXPECT_EQ(vx::makeIdentifier("C:\\Models\\my-sat 2.final.lwo"), "my_sat_2");
    EXPECT_EQ(vx::makeIdentifier("dir.x/part.lwo"), "part");
    EXPECT_EQ(vx::makeIdentifier("/tmp/my ship.final.mdl"), "my_ship");
    EXPECT_EQ(vx::makeIdentifier("-"), "_");
    EXPECT_EQ(vx::makeIdentifier(""), "");
}

TEST(MakeIdentifier, DropsOtherCharactersAndCutsAt39) {
    EXPECT_EQ(vx::makeIdentifier("a(b)c\xE9!d"), "abcd");
    const std::string sixty(60, 'q');
    EXPECT_EQ(vx::makeIdentifier(sixty), std::string(39, 'q'));
    // A dot past the 39th character no longer cuts anything.
    EXPECT_EQ(vx::makeIdentifier(sixty + ".lwo"), std::string(39, 'q'));
    EXPECT_EQ(vx::makeIdentifier(std::string(38, 'q') + ".lwo"), std::string(38, 'q'));
}

TEST(SingleLine, ReplacesControlCharacters) {
    EXPECT_EQ(vx::singleLine("a\nb\rc\td\x7f"), "a b c d ");
}

}  // namespace
