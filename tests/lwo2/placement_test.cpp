// Where layers go in the model: groups, Refer blocks, articulations, attach
// points, includes and orientations.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/lwo2/lwo2_test_support.h"

namespace {

using namespace vxtest;
using lwo2test::convert;
using lwo2test::section;

std::string mainBody(const std::string& mdl) { return section(mdl, "Component ship_ROOT\n", "EndComponent\n"); }
std::string group(const std::string& mdl, const std::string& name) {
    return section(mdl, "#\nComponent " + name + "\n", "EndComponent\n");
}

TEST(Placement, EmptyCodesExtraLinesAndPointing) {
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "Antenna@"), layr(1, "Multi@e(TxScale)0.2_0.2_1pe"),
                                                  layr(2, "Eye@p(Target)0_0_1RR(Spin)")}));
    const std::string root = mainBody(c.mdl);
    EXPECT_NE(root.find("\tRefer\n\t\tComponent ParentLayer1_ship\n\tEndRefer\n"), std::string::npos);
    EXPECT_NE(root.find("\tRefer\n\t\tTxScale 0.2 0.2 1\n\t\tPointing Multi 0 1 0\n\t\t# \n"
                        "\t\tComponent ParentLayer2_ship\n\tEndRefer\n"),
              std::string::npos)
        << root;
    EXPECT_NE(root.find("\t\tArticulation Eye\n\t\t\txRotate Roll -360 0 360\n\t\t\txRotate Spin -360 0 360\n"
                        "\t\tEndArticulation\n\t\tPointing Target 0 0 1\n\t\tComponent ParentLayer3_ship\n"),
              std::string::npos)
        << root;
    EXPECT_NE(c.mdl.find("# Articulations:\n#\tEye - Roll, Spin\n#\n"), std::string::npos);
    EXPECT_NE(c.mdl.find("# Model pointing articulations:\n#\tMulti\n#\tTarget\n#\n"), std::string::npos);
}

TEST(Placement, UnknownLettersAreSteppedOverWithTheirArguments) {
    // The name after "q" is not read as codes, and "S" with an unknown
    // sub-letter writes nothing.
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "Arm@q(Yaw)SwSy(Long)1_2_3S")}));
    EXPECT_NE(mainBody(c.mdl).find("\t\tArticulation Arm\n\t\t\tyScale Long 1 2 3\n\t\tEndArticulation\n"),
              std::string::npos)
        << c.mdl;
}

TEST(Placement, ChildrenOfHiddenOrAbsentParentsStillAppear) {
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "Hidden@", 0, 0, 0, 1), layr(1, "Arm@", 0, 0, 0, 0, 0u),
                                                  layr(2, "Leg@", 0, 0, 0, 0, 9u), layr(3, "Self@", 0, 0, 0, 0, 3u)}));
    EXPECT_NE(c.mdl.find("#\n# Layer 1 (Hidden@) invisible.  Skipping layer.\n#\n# Layer 2: Arm@\n"),
              std::string::npos);
    EXPECT_EQ(mainBody(c.mdl), "Component ship_ROOT\n\tRoot\n"
                               "\tRefer\n\t\tComponent ParentLayer4_ship\n\tEndRefer\n"
                               "\tRefer\n\t\tComponent ParentLayer1_ship\n\tEndRefer\n"
                               "\tRefer\n\t\tComponent ParentLayer10_ship\n\tEndRefer\nEndComponent\n");
    EXPECT_EQ(group(c.mdl, "ParentLayer1_ship"),
              "#\nComponent ParentLayer1_ship\n\tRefer\n\t\tComponent ParentLayer2_ship\n\tEndRefer\nEndComponent\n");
}

// Parents and includes that loop back are not followed: the model never
// contains itself, and every layer still hangs under the root.
TEST(Placement, LoopsAreBrokenUnderTheRoot) {
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "A@", 0, 0, 0, 0, 1u), layr(1, "B@", 0, 0, 0, 0, 0u),
                                                  layr(2, "Loop@i3i")}));
    EXPECT_EQ(group(c.mdl, "ParentLayer2_ship"),
              "#\nComponent ParentLayer2_ship\n\tRefer\n\t\tComponent ParentLayer1_ship\n\tEndRefer\n"
              "\tRefer\n\t\tComponent B\n\tEndRefer\nEndComponent\n");
    EXPECT_EQ(group(c.mdl, "ParentLayer1_ship"),
              "#\nComponent ParentLayer1_ship\n\tRefer\n\t\tComponent A\n\tEndRefer\nEndComponent\n");
    EXPECT_EQ(group(c.mdl, "IncludeLayer3_ship"), "#\nComponent IncludeLayer3_ship\nEndComponent\n");
    EXPECT_EQ(mainBody(c.mdl), "Component ship_ROOT\n\tRoot\n\tRefer\n\t\tComponent ParentLayer2_ship\n\tEndRefer\n"
                               "\tRefer\n\t\tComponent ParentLayer3_ship\n\tEndRefer\nEndComponent\n");
}

TEST(Placement, IncludesReferToTheIncludedLayersGroup) {
    lwo2test::Converted c =
        convert(form("LWO2", {layr(0, "Base@o90i2", 0, 1, 0), layr(1, "Gun@i", 0, 0, 1, 0, 0u), layr(2, "Mast@i7")}),
                [](vx::ConversionJob& job) { job.modelType = vx::ModelType::None; });
    EXPECT_EQ(group(c.mdl, "IncludeLayer2_ship"),
              "#\nComponent IncludeLayer2_ship\n\tRefer\n\t\tComponent ParentLayer2_ship\n\tEndRefer\nEndComponent\n");
    EXPECT_EQ(group(c.mdl, "IncludeLayer7_ship"), "#\nComponent IncludeLayer7_ship\nEndComponent\n");
    EXPECT_EQ(group(c.mdl, "ParentLayer1_ship"),
              "#\nComponent ParentLayer1_ship\n\tTranslate -0 -1 0  # Pivot Point to new origin\n"
              "\tRotate -90 0 0  # Unset Pivot Point orientation X\n\tRefer\n\t\tComponent Base\n\tEndRefer\n"
              "\tRefer\n\t\tRotate 90 0 0  # Re-set Pivot Point orientation\n"
              "\t\tTranslate 0 1 -0  # Origin back to Pivot Point\n\t\tComponent IncludeLayer2_ship\n"
              "\tEndRefer\nEndComponent\n");
    // Include groups come before the parent groups.
    EXPECT_LT(c.mdl.find("Component IncludeLayer7_ship"), c.mdl.find("Component ParentLayer1_ship"));
}

// A bare "i" makes the layer's include group where it stands in the codes,
// even when a later "i" with a number takes the layer back out of it.
TEST(Placement, BareIncludeMakesItsGroupInCodeOrder) {
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "Arm@ii5"), layr(1, "Leg@ii6i")}));
    EXPECT_EQ(section(c.mdl, "#\nComponent IncludeLayer1_ship\n", "#\nComponent ParentLayer1_ship\n"),
              "#\nComponent IncludeLayer1_ship\nEndComponent\n#\nComponent IncludeLayer5_ship\nEndComponent\n"
              "#\nComponent IncludeLayer2_ship\n\tRefer\n\t\tComponent ParentLayer2_ship\n\tEndRefer\nEndComponent\n"
              "#\nComponent IncludeLayer6_ship\nEndComponent\n#\nComponent ParentLayer1_ship\n")
        << c.mdl;
}

// Attach points and effects themselves are in the ship and rig goldens.
TEST(Placement, AttachPointNamesStayOnTheirLines) {
    lwo2test::Converted c = convert(form("LWO2", {layr(0, "Flame@Ae"), layr(1, "Bad\nName@A")}));
    EXPECT_NE(c.mdl.find("# Layer 2: Bad Name@A\nComponent AP2_Bad Name\n\tAttachPoint Bad Name\n"),
              std::string::npos);
    EXPECT_NE(c.mdl.find("# Attach points:\n#\tFlame\n#\tBad Name\n#\n"), std::string::npos);
}

TEST(Placement, ObjectsWithoutLayersStillGetRootAndSummaries) {
    const auto object = form("LWO2", {tagsChunk({"S"}), surf("S", colr(1, 1, 1))});
    lwo2test::Converted c = convert(object, [](vx::ConversionJob& job) {
        job.modelType = vx::ModelType::Facility;
        job.outputPath = std::filesystem::path(job.outputPath).replace_filename("my ship.final.mdl").string();
    });
    ASSERT_EQ(c.status, 0);
    std::string none;
    for (const char* title : {"Articulations", "Textures used", "Attach points", "Model pointing articulations",
                              "SolarPanel groups"})
        none += std::string("# ") + title + ":\n#\t(none)\n#\n";
    EXPECT_EQ(c.mdl,
              "# Korvan 3D Model file\n#\n# Converted from \"ship\" by Vertexion v2.8b.\n#\n"
              "# Axis rotation applied: Facility (+Y to +Z)\n#\n# Main body:\nComponent my_ship_ROOT\n\tRoot\n"
              "EndComponent\nBoundRadius 1515\n#\n" + none +
              "# End of my_ship.mdl\n###########################################################\n");
}

TEST(Placement, PivotsAreStoredForTheScriptWriter) {
    vxtest::ScratchDir dir;
    RecordingSink sink;
    vx::ChunkFile file;
    ASSERT_TRUE(file.loadBytes(form("LWO2", {layr(0, "A", 1, 2, 3), layr(1, "B"), layr(2, "C", 5, 5, 5, 1)}),
                               "ship.lwo", sink));
    vx::Lwo2Context context(file);
    vx::ConversionJob job;
    job.outputPath = dir.path("ship.mdl");
    ASSERT_EQ(vx::convertLwo2(job, context, job.outputPath, sink), 0);
    const vx::LayerGroup* a = vx::findParentGroup(context, 1);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->pivotKnown);
    EXPECT_EQ(a->pivot.x, 3.0f);  // spacecraft axes: (Z, X, -Y)
    EXPECT_EQ(a->pivot.y, 1.0f);
    EXPECT_EQ(a->pivot.z, -2.0f);
    ASSERT_TRUE(vx::findParentGroup(context, 2));
    EXPECT_TRUE(vx::findParentGroup(context, 2)->pivotKnown);
    // A hidden layer's pivot is left for the script writer to decode.
    EXPECT_EQ(vx::findParentGroup(context, 3), nullptr);
}

}  // namespace
