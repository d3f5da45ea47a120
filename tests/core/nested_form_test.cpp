#include "core/nested_form.h"

#include <gtest/gtest.h>

#include "tests/support/lwo3_builder.h"
#include "tests/support/test_support.h"

namespace {

using vx::Bytes;
using vx::FormRun;
using vx::makeId;
using namespace vxtest;

TEST(NestedForms, WalkFourByteSizesAtEveryDepthAndSkipPadBytes) {
    const Data surface = lwo3Surface("Hull", Data().add(chunk("ODD1", Data().u1(7))).add(Data().u1(0))
                                                 .add(formOf("NODS", {formOf("NNDS", {text("NSRV", "Image")})})));
    RecordingSink sink;
    vx::ChunkFile file;
    ASSERT_TRUE(file.loadBytes(form("LWO3", {tagsChunk({"Hull"}), surface}), "/models/hull.lwo", sink));
    ASSERT_TRUE(file.tags);
    std::optional<FormRun> surf;
    vx::forEachTopLevelForm(file, makeId("SURF"), [&](const FormRun& f) {
        surf = f;
        return false;
    });
    ASSERT_TRUE(surf);
    const Bytes bytes = file.all();
    std::optional<vx::Chunk> names = vx::findChild(bytes, *surf, vx::kBlankId);
    ASSERT_TRUE(names);
    EXPECT_EQ(file.reader(*names).evenString(), "Hull");
    const std::optional<FormRun> nnds = vx::findFormPath(bytes, *surf, {makeId("NODS"), makeId("NNDS")});
    ASSERT_TRUE(nnds);
    EXPECT_TRUE(vx::findChild(bytes, *nnds, makeId("NSRV")));
    EXPECT_FALSE(vx::findFormPath(bytes, *surf, {makeId("NNDS")}));  // only direct children count
}

TEST(NestedForms, SizesThatDoNotFitEndTheWalk) {
    // A FORM too short for its type is no FORM; a child claiming more than
    // its FORM holds ends the walk there.
    const Data tooShort = Data().raw("FORM").u4(2).u2(0);
    const Data overlong = Data().raw("FORM").u4(0xFFFFFFF0).raw("NODS");
    const Data children =
        Data().add(tooShort).add(chunk("SIDE", Data().u2(3))).add(overlong).add(chunk("VERS", Data().u4(1)));
    const std::vector<std::uint8_t> bytes = formOf("SURF", children).bytes;
    const std::optional<vx::Chunk> outer = vx::subChunkAt(bytes, 0, bytes.size(), vx::SizeField::U4);
    ASSERT_TRUE(outer);
    const std::optional<FormRun> surf = vx::asForm(bytes, *outer);
    ASSERT_TRUE(surf);
    EXPECT_FALSE(vx::asForm(bytes, *vx::subChunkAt(bytes, surf->start, bytes.size(), vx::SizeField::U4)));
    EXPECT_TRUE(vx::findChild(bytes, *surf, makeId("SIDE")));
    EXPECT_FALSE(vx::findChildForm(bytes, *surf, makeId("NODS")));
    EXPECT_FALSE(vx::findChild(bytes, *surf, makeId("VERS")));

    // Bytes cut anywhere: a child is found only when it lies whole inside them.
    const std::size_t sideEnd = surf->start + tooShort.size() + 10;
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        EXPECT_EQ(vx::findChild(Bytes(bytes).first(n), *surf, makeId("SIDE")).has_value(), n >= sideEnd) << n;
    }
}

}  // namespace
