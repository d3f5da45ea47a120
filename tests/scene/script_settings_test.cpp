#include "scene/script_settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/output_file.h"
#include "scene/script_writer.h"
#include "tests/support/test_support.h"

namespace {

using vx::ConversionJob;
using vx::ScriptFormat;
using vx::SubdivideMode;

TEST(ScriptSettings, WrittenSettingsComeBackWithSixDigits) {
    vxtest::ScratchDir dir;
    const ConversionJob job{.scriptFormat = ScriptFormat::CommaSeparated, .epoch = 120.1234, .secondsPerFrame = 2.0 / 3,
                            .subdivide = true, .subdivideMode = SubdivideMode::ByTimeStep,
                            .subdivideTimeStep = 0.123456789f};
    vx::OutputFile script;
    ASSERT_EQ(script.open(dir.path("a.sama")), 0);
    vx::writeScriptHeader(job, script, "ship.lwo");
    ASSERT_EQ(script.commit(), 0);

    ConversionJob back;
    vx::applyRecalledSettings(vx::recallScriptSettings(dir.path("a.sama")).value(), back);
    EXPECT_EQ(back.epoch, 120.123);
    EXPECT_EQ(back.secondsPerFrame, 0.666667);
    EXPECT_EQ(back.scriptFormat, ScriptFormat::CommaSeparated);
    EXPECT_TRUE(back.subdivide);
    EXPECT_EQ(back.subdivideMode, SubdivideMode::ByTimeStep);
    EXPECT_EQ(back.subdivideTimeStep, 0.123457f);
}

TEST(ScriptSettings, SecondsPerFrameTexts) {
    EXPECT_EQ(vx::secondsPerFrameText(1.0 / 30), "1/30");
    EXPECT_EQ(vx::secondsPerFrameText(0.2), "1/5");
    EXPECT_EQ(vx::secondsPerFrameText(1), "1");
    EXPECT_EQ(vx::secondsPerFrameText(0.4), "0.4");
    EXPECT_EQ(vx::secondsPerFrameText(0), "1/30");
    EXPECT_DOUBLE_EQ(*vx::parseSecondsPerFrameText("1/24 "), 1.0 / 24);
    EXPECT_EQ(*vx::parseSecondsPerFrameText("0.5xyz"), 0.5);
    // No usable rate: the caller keeps the one it has.
    // Nor is a rate whose rows would print "inf" or "nan".
    for (std::string_view bad : {"", "abc", "1/0", "0", "-2", "1 /30", "nan", "1e307", "1e308"}) {
        EXPECT_FALSE(vx::parseSecondsPerFrameText(bad)) << bad;
    }
}

TEST(ScriptSettings, WhatALineRestores) {
    auto s = vx::parseScriptSettings("Epoch 5 SPF 1/10 Format 7 SubDivTime 0.5 SubDivSteps 9\n");
    EXPECT_EQ(*s.scriptFormat, ScriptFormat::Standard);
    EXPECT_EQ(*s.spfText, "1/10 ");
    EXPECT_EQ(*s.subdivideMode, SubdivideMode::BySlices);  // both keywords: slices win
    EXPECT_EQ(*s.subdivideTimeStep, 0.5f);
    // The three timing fields come back together or not at all; a rate or an
    // epoch that is no usable number is not restored.
    s = vx::parseScriptSettings("Epoch 5 SPF 1/10\n");
    EXPECT_FALSE(s.epoch || s.spfText || s.scriptFormat || s.subdivide);
    for (std::string_view unusable : {"Epoch nan SPF 1/0 Format 2\n", "Epoch 1e39 SPF 1e308 Format 2\n"}) {
        s = vx::parseScriptSettings(unusable);
        EXPECT_FALSE(s.epoch || s.secondsPerFrame) << unusable;
        EXPECT_EQ(*s.scriptFormat, ScriptFormat::CommaSeparated);
    }
    // A slice count below 1 is no count.
    for (std::string_view steps : {"SubDivSteps -5", "SubDivSteps 0"}) {
        s = vx::parseScriptSettings(steps);
        EXPECT_TRUE(s.subdivide);
        EXPECT_FALSE(s.subdivideSteps) << steps;
    }
}

TEST(ScriptSettings, TheLineIsLookedForInTheFirstTenLines) {
    vxtest::ScratchDir dir;
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("new.sama")));
    const std::string line = "# Vertexion settings: Epoch 7 SPF 1 Format 1\n";
    auto recall = [&](const std::string& text) {
        vxtest::writeText(dir.path("a.sama"), text);
        return vx::recallScriptSettings(dir.path("a.sama"));
    };
    const std::string nineLines = "#\n#\n#\n#\n#\n#\n#\n#\n#\n";
    EXPECT_TRUE(recall(nineLines + line));
    EXPECT_FALSE(recall(nineLines + "#\n" + line));
    // Long lines are read in pieces of 499 characters, each a line.
    EXPECT_TRUE(recall(std::string(499 * 9, '#') + line));
    EXPECT_FALSE(recall(std::string(499 * 9 + 1, '#') + line));
    EXPECT_EQ(*recall(line + "# Vertexion settings: Epoch 8 SPF 1 Format 1\n")->epoch, 7);
    // A script path naming a FIFO or a directory recalls nothing, at once.
    ASSERT_EQ(::mkfifo(dir.path("pipe.sama").c_str(), 0600), 0);
    EXPECT_FALSE(vx::recallScriptSettings(dir.path("pipe.sama")));
    EXPECT_FALSE(vx::recallScriptSettings(dir.dir().string()));
}

}  // namespace
