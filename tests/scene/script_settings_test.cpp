#include "scene/script_settings.h"

#include <gtest/gtest.h>

#include "core/output_file.h"
#include "scene/script_writer.h"
#include "tests/support/test_support.h"

namespace {

using vx::ConversionJob;
using vx::ScriptFormat;
using vx::SubdivideMode;

// The settings a job's script header records, as recalled into a fresh job.
ConversionJob roundTrip(const ConversionJob& written, const std::string& path) {
    vx::OutputFile script;
    EXPECT_EQ(script.open(path), 0);
    vx::writeScriptHeader(written, script, "ship.lwo");
    EXPECT_EQ(script.commit(), 0);
    ConversionJob recalled;
    recalled.subdivide = true;  // always restored
    auto settings = vx::recallScriptSettings(path);
    EXPECT_TRUE(settings.has_value());
    if (settings) vx::applyRecalledSettings(*settings, recalled);
    return recalled;
}

TEST(ScriptSettings, WrittenSettingsComeBack) {
    vxtest::ScratchDir dir;
    ConversionJob job;
    job.epoch = 120;
    job.scriptFormat = ScriptFormat::TabSeparated;
    job.subdivide = true;
    job.subdivideSteps = 12;
    ConversionJob back = roundTrip(job, dir.path("a.sama"));
    EXPECT_EQ(back.epoch, 120);
    EXPECT_DOUBLE_EQ(back.secondsPerFrame, 1.0 / 30);
    EXPECT_EQ(back.scriptFormat, ScriptFormat::TabSeparated);
    EXPECT_TRUE(back.subdivide);
    EXPECT_EQ(back.subdivideMode, SubdivideMode::BySlices);
    EXPECT_EQ(back.subdivideSteps, 12);

    // Six significant digits, as the header prints them.
    job.epoch = 120.1234;
    job.secondsPerFrame = 2.0 / 3;
    job.scriptFormat = ScriptFormat::CommaSeparated;
    job.subdivideMode = SubdivideMode::ByTimeStep;
    job.subdivideTimeStep = 0.123456789f;
    back = roundTrip(job, dir.path("a.sama"));
    EXPECT_EQ(back.epoch, 120.123);
    EXPECT_EQ(back.secondsPerFrame, 0.666667);
    EXPECT_EQ(back.scriptFormat, ScriptFormat::CommaSeparated);
    EXPECT_EQ(back.subdivideMode, SubdivideMode::ByTimeStep);
    EXPECT_EQ(back.subdivideTimeStep, 0.123457f);

    job.subdivide = false;
    EXPECT_FALSE(roundTrip(job, dir.path("a.sama")).subdivide);
}

TEST(ScriptSettings, SecondsPerFrameTexts) {
    EXPECT_EQ(vx::secondsPerFrameText(1.0 / 30), "1/30");
    EXPECT_EQ(vx::secondsPerFrameText(0.2), "1/5");
    EXPECT_EQ(vx::secondsPerFrameText(1), "1");
    EXPECT_EQ(vx::secondsPerFrameText(0.4), "0.4");
    EXPECT_EQ(vx::secondsPerFrameText(0), "1/30");
    EXPECT_EQ(vx::secondsPerFrameText(5), "5");

    EXPECT_DOUBLE_EQ(*vx::parseSecondsPerFrameText("1/24 "), 1.0 / 24);
    EXPECT_EQ(*vx::parseSecondsPerFrameText("2"), 2.0);
    EXPECT_EQ(*vx::parseSecondsPerFrameText("0.5xyz"), 0.5);
    // No usable rate: the caller keeps the one it has.
    for (std::string_view bad : {"", "abc", "1/0", "1/", "0", "-2", "1 /30", "nan", "inf"}) {
        EXPECT_FALSE(vx::parseSecondsPerFrameText(bad).has_value()) << bad;
    }
}

TEST(ScriptSettings, WhatALineRestores) {
    auto s = vx::parseScriptSettings("Epoch 5 SPF 1/10 Format 7 SubDivTime 0.5 SubDivSteps 9\n");
    EXPECT_EQ(*s.scriptFormat, ScriptFormat::Standard);
    EXPECT_EQ(*s.spfText, "1/10 ");
    EXPECT_EQ(*s.subdivideMode, SubdivideMode::BySlices);  // both keywords: slices win
    EXPECT_EQ(*s.subdivideTimeStep, 0.5f);
    EXPECT_EQ(*s.subdivideSteps, 9);

    // The three timing fields come back together or not at all.
    s = vx::parseScriptSettings("Epoch 5 SPF 1/10\n");
    EXPECT_FALSE(s.epoch || s.spfText || s.secondsPerFrame || s.scriptFormat);
    EXPECT_FALSE(s.subdivide);
    // An unusable rate keeps the caller's; a non-finite epoch too.
    s = vx::parseScriptSettings("Epoch nan SPF 1/0 Format 2\n");
    EXPECT_FALSE(s.epoch || s.secondsPerFrame);
    EXPECT_EQ(*s.spfText, "1/0 ");
    EXPECT_EQ(*s.scriptFormat, ScriptFormat::CommaSeparated);
    s = vx::parseScriptSettings("SubDivSteps x");
    EXPECT_TRUE(s.subdivide);
    EXPECT_FALSE(s.subdivideSteps);
}

TEST(ScriptSettings, WhereTheLineIsLookedFor) {
    vxtest::ScratchDir dir;
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("new.sama")));
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("")));

    const std::string line = "# Vertexion settings: Epoch 7 SPF 1 Format 1\n";
    std::string nine;
    for (int i = 0; i < 9; ++i) nine += "#\n";
    vxtest::writeText(dir.path("a.sama"), nine + line);
    EXPECT_EQ(*vx::recallScriptSettings(dir.path("a.sama"))->epoch, 7);
    vxtest::writeText(dir.path("a.sama"), nine + "#\n" + line);
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("a.sama")));
    // A long first line is read in pieces of 499 characters, each a line.
    vxtest::writeText(dir.path("a.sama"), std::string(499 * 9, '#') + line);
    EXPECT_TRUE(vx::recallScriptSettings(dir.path("a.sama")));
    vxtest::writeText(dir.path("a.sama"), std::string(499 * 9 + 1, '#') + line);
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("a.sama")));
    // The first settings line counts.
    vxtest::writeText(dir.path("a.sama"), line + "# Vertexion settings: Epoch 8 SPF 1 Format 1\n");
    EXPECT_EQ(*vx::recallScriptSettings(dir.path("a.sama"))->epoch, 7);
}

TEST(ScriptSettings, ScriptNamesFromSceneNames) {
    EXPECT_EQ(*vx::deriveScriptPath("C:\\Anim\\dish.lws", vx::ModelType::SpacecraftAircraft), "C:\\Anim\\dish.sama");
    EXPECT_EQ(*vx::deriveScriptPath("dish.LWS", vx::ModelType::GroundVehicle), "dish.gvma");
    EXPECT_EQ(*vx::deriveScriptPath("dish.lws", vx::ModelType::Facility), "dish.fma");
    EXPECT_EQ(*vx::deriveScriptPath("dish.lws", vx::ModelType::None), "dish.sama");
    EXPECT_FALSE(vx::deriveScriptPath("dish.scene", vx::ModelType::None));
}

}  // namespace
