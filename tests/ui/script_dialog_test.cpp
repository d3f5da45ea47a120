#include "ui/script_dialog.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/ui/fake_platforms.h"
#include "ui/number_text.h"

namespace {

using vx::ui::ScriptControl;
using vx::ui::ScriptDialog;
using vxtest::FakeScriptPlatform;

struct Dialog {
    ScriptDialog values;
    FakeScriptPlatform platform;
    explicit Dialog(const vx::ConversionJob& fields = {}) : values(vx::ui::scriptDialogFor(fields)) {
        vx::ui::initScriptDialog(values, platform);
    }
    // The user types into the seconds-per-frame box and leaves it.
    void typeSecondsPerFrame(const std::string& text) {
        platform.controls.secondsPerFrame = text;
        vx::ui::parseSecondsPerFrame(values, platform);
    }
};

vx::ConversionJob withSecondsPerFrame(double s) { return {.secondsPerFrame = s}; }

TEST(ScriptDialogOpen, ShowsTheMainDialogsValues) {
    Dialog d({.scenePath = "a.lws", .scriptPath = "a.sama", .modelType = vx::ModelType::Facility,
              .scriptFormat = vx::ScriptFormat::TabSeparated, .epoch = 120.123456789012345, .subdivide = true,
              .subdivideMode = vx::SubdivideMode::ByTimeStep, .subdivideTimeStep = 0.123456789f});
    EXPECT_EQ(d.values.modelType, vx::ModelType::Facility);
    EXPECT_EQ(d.platform.controls.scenePath, "a.lws");
    EXPECT_EQ(d.platform.controls.epoch, "120.123456789012");
    EXPECT_EQ(d.platform.controls.subdivideTimeStep, "0.123457");
    EXPECT_EQ(d.platform.controls.subdivideSteps, "20");
    EXPECT_EQ(d.platform.controls.scriptFormat, vx::ScriptFormat::TabSeparated);
    EXPECT_EQ(d.platform.controls.secondsPerFrame, "1/30 ");
    EXPECT_TRUE(d.platform.messages.empty());

    // Closing hands everything back; spfText is the dialog's own.
    ASSERT_TRUE(vx::ui::closeScriptDialog(d.values, d.platform));
    vx::ConversionJob back;
    vx::ui::takeScriptSettings(d.values, back);
    EXPECT_EQ(back.scenePath, "a.lws");
    EXPECT_EQ(back.scriptPath, "a.sama");
    EXPECT_DOUBLE_EQ(back.epoch, 120.123456789012);
    EXPECT_EQ(back.secondsPerFrame, 1.0 / 30.0);
    EXPECT_EQ(back.scriptFormat, vx::ScriptFormat::TabSeparated);
    EXPECT_TRUE(back.subdivide);
    EXPECT_EQ(back.subdivideMode, vx::SubdivideMode::ByTimeStep);
    EXPECT_FLOAT_EQ(back.subdivideTimeStep, 0.123457f);
}

TEST(ScriptDialogSecondsPerFrame, OpeningShowsATextAndTypingParsesIt) {
    for (auto [seconds, text] : {std::pair{0.5, "1/2 "}, {5.0, "5 "}, {0.4, "0.4 "}})
        EXPECT_EQ(Dialog(withSecondsPerFrame(seconds)).platform.controls.secondsPerFrame, text);
    Dialog zero(withSecondsPerFrame(0));
    EXPECT_EQ(zero.platform.controls.secondsPerFrame, "1/30");
    EXPECT_EQ(zero.values.secondsPerFrame, 1.0 / 30.0);

    Dialog d;
    d.typeSecondsPerFrame("2");
    EXPECT_EQ(d.values.secondsPerFrame, 2.0);
    EXPECT_TRUE(d.platform.messages.empty());

    // No usable time keeps the last one and asks again.
    // Nor does one whose rows would print "inf".
    for (const char* bad : {"fast", "1/0", "", "-1", "0", "1e307"}) {
        d.platform.focused.reset();
        d.typeSecondsPerFrame(bad);
        EXPECT_EQ(d.values.secondsPerFrame, 2.0) << bad;
        EXPECT_EQ(d.platform.focused, ScriptControl::SecondsPerFrameBox) << bad;
    }
    EXPECT_EQ(d.platform.messages, std::vector<std::string>(6, "Please enter a number."));

    // "Close" reads a text typed without leaving the box, and refuses a bad one.
    d.platform.controls.secondsPerFrame = "1/15";
    EXPECT_TRUE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.values.secondsPerFrame, 1.0 / 15.0);
    d.platform.controls.secondsPerFrame = "x";
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));

    // An untouched text keeps the value's full precision.
    Dialog twoThirds(withSecondsPerFrame(2.0 / 3.0));
    EXPECT_EQ(twoThirds.platform.controls.secondsPerFrame, "0.666667 ");
    EXPECT_TRUE(vx::ui::closeScriptDialog(twoThirds.values, twoThirds.platform));
    EXPECT_EQ(twoThirds.values.secondsPerFrame, 2.0 / 3.0);
}

TEST(ScriptDialogNumbers, BadBoxesAreReportedInOrder) {
    Dialog d;
    d.platform.controls.epoch = "12abc";
    d.platform.controls.scriptFormat = vx::ScriptFormat::CommaSeparated;
    d.platform.controls.subdivideSteps = "x";
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.platform.messages, (std::vector<std::string>{"Please enter a number."}));
    EXPECT_EQ(d.platform.focused, ScriptControl::EpochBox);
    EXPECT_EQ(d.values.scriptFormat, vx::ScriptFormat::Standard);  // read after the epoch: untouched
    d.platform.controls.epoch = "1e39";  // past the rows' single precision
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.platform.focused, ScriptControl::EpochBox);

    d.platform.controls.epoch = " +7.5 ";
    d.platform.controls.subdivideSteps = "2.5";
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.platform.messages.back(), "Please enter an integer.");
    EXPECT_EQ(d.platform.focused, ScriptControl::SlicesBox);
    EXPECT_EQ(d.values.epoch, 7.5);
    EXPECT_EQ(d.values.scriptFormat, vx::ScriptFormat::CommaSeparated);

    d.platform.controls.subdivideSteps = "12";
    d.platform.controls.subdivideTimeStep = "";
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.platform.messages.back(), "Please enter a number.");
    EXPECT_EQ(d.platform.focused, ScriptControl::TimeStepBox);
    EXPECT_EQ(d.values.subdivideSteps, 12);
    // A time step is kept in single precision: one beyond its range is no number.
    d.platform.controls.subdivideTimeStep = "1e300";
    EXPECT_FALSE(vx::ui::closeScriptDialog(d.values, d.platform));
    EXPECT_EQ(d.platform.messages.back(), "Please enter a number.");
    EXPECT_EQ(d.platform.focused, ScriptControl::TimeStepBox);
    EXPECT_EQ(d.values.subdivideTimeStep, 0.25f);

    EXPECT_EQ(vx::ui::parseNumberText("1e3"), 1000.0);
    EXPECT_FALSE(vx::ui::parseNumberText("nan"));
    EXPECT_FALSE(vx::ui::parseIntegerText("99999999999"));
}

TEST(ScriptDialogSubdivision, ControlsFollowTheCheckBoxAndMode) {
    Dialog d;
    for (ScriptControl c :
         {ScriptControl::ByTimeStep, ScriptControl::BySlices, ScriptControl::TimeStepBox, ScriptControl::SlicesBox})
        EXPECT_FALSE(d.platform.enabled[c]);
    d.platform.controls.subdivide = true;
    vx::ui::updateSubdivideControls(d.values, d.platform);
    EXPECT_TRUE(d.platform.enabled[ScriptControl::ByTimeStep]);
    EXPECT_TRUE(d.platform.enabled[ScriptControl::BySlices]);
    EXPECT_FALSE(d.platform.enabled[ScriptControl::TimeStepBox]);
    EXPECT_TRUE(d.platform.enabled[ScriptControl::SlicesBox]);
    d.platform.controls.subdivideMode = vx::SubdivideMode::ByTimeStep;
    vx::ui::updateSubdivideControls(d.values, d.platform);
    EXPECT_TRUE(d.platform.enabled[ScriptControl::TimeStepBox]);
    EXPECT_FALSE(d.platform.enabled[ScriptControl::SlicesBox]);
}

// The line's own parsing is proved with the settings; here: what reaches the
// boxes from the script a chosen scene names or a chosen script, and
// subdivision off unless the line asks for it.
TEST(ScriptDialogFiles, ChosenScenesAndScriptsRecallTheScriptsSettings) {
    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("dish.sama"),
                      "# Model articulation script for dish.lwo\n"
                      "# Vertexion settings: Epoch 120 SPF 1/30 Format 1 SubDivSteps 12\n");
    vxtest::writeText(dir.path("plain.gvma"), "# Vertexion settings: Epoch 3 SPF 5 Format 2\n");
    vxtest::writeText(dir.path("step.fma"), "# Vertexion settings: Epoch 3 SPF 5 Format 2 SubDivTime 0.5\n");
    vxtest::writeText(dir.path("none.sama"), "no settings here\n");
    Dialog d;
    auto& calls = d.platform.pickerCalls;
    d.platform.picks.push_back(dir.path("dish.LWS"));
    vx::ui::browseScene(d.values, d.platform);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].save);
    EXPECT_EQ(calls[0].request.defaultExtension, ".lws");
    EXPECT_EQ(calls[0].request.filters, vx::ui::kSceneFilters);
    EXPECT_EQ(d.platform.controls.scriptPath, dir.path("dish.sama"));
    EXPECT_EQ(d.values.epoch, 120.0);
    EXPECT_EQ(d.platform.controls.scriptFormat, vx::ScriptFormat::TabSeparated);
    EXPECT_TRUE(d.platform.controls.subdivide);
    EXPECT_EQ(d.platform.controls.subdivideMode, vx::SubdivideMode::BySlices);
    EXPECT_EQ(d.platform.controls.subdivideSteps, "12");
    EXPECT_TRUE(d.platform.enabled[ScriptControl::SlicesBox]);

    // Other scene names leave the script alone; a cancelled picker changes nothing.
    d.platform.picks.push_back(dir.path("dish.scene"));
    vx::ui::browseScene(d.values, d.platform);
    EXPECT_EQ(d.platform.controls.scenePath, dir.path("dish.scene"));
    EXPECT_EQ(d.platform.controls.scriptPath, dir.path("dish.sama"));
    vx::ui::browseScene(d.values, d.platform);
    EXPECT_EQ(d.platform.controls.scenePath, dir.path("dish.scene"));

    d.platform.picks.push_back(dir.path("plain.gvma"));
    vx::ui::browseScript(d.values, d.platform);
    EXPECT_TRUE(calls.back().save);
    EXPECT_EQ(calls.back().request.defaultExtension, "");
    EXPECT_EQ(calls.back().request.filters, vx::ui::kScriptFilters);
    EXPECT_FALSE(d.platform.controls.subdivide);
    EXPECT_EQ(d.platform.controls.secondsPerFrame, "5 ");
    d.platform.picks.push_back(dir.path("step.fma"));
    vx::ui::browseScript(d.values, d.platform);
    EXPECT_EQ(d.values.subdivideMode, vx::SubdivideMode::ByTimeStep);
    EXPECT_EQ(d.platform.controls.subdivideTimeStep, "0.5");
    EXPECT_TRUE(d.platform.enabled[ScriptControl::TimeStepBox]);
    for (const char* unchanged : {"none.sama", "missing.sama"}) {
        d.platform.picks.push_back(dir.path(unchanged));
        vx::ui::browseScript(d.values, d.platform);
        EXPECT_EQ(d.values.epoch, 3.0) << unchanged;
        EXPECT_EQ(d.values.secondsPerFrame, 5.0) << unchanged;
        EXPECT_EQ(d.platform.controls.scriptPath, dir.path(unchanged));
    }
    EXPECT_TRUE(d.platform.messages.empty());

    Dialog g({.modelType = vx::ModelType::GroundVehicle});
    g.platform.picks.push_back("/anim/dish.lws");
    vx::ui::browseScene(g.values, g.platform);
    EXPECT_EQ(g.platform.controls.scriptPath, "/anim/dish.gvma");
}

}  // namespace
