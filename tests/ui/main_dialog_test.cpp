#include "ui/main_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"
#include "tests/ui/fake_platforms.h"

namespace {

using vx::ModelType;
using vx::ui::MainControl;
using vxtest::FakeMainPlatform;

// Only the form type decides; the rest need not be a valid object.
std::vector<std::uint8_t> lwo2Object() { return vxtest::form("LWO2", {}); }

constexpr const char* kFacilityHeader =
    "# Korvan 3D Model file\n# Axis rotation applied: Facility (+Y to +Z)\nComponent Main\n";

struct Dialog {
    vx::ui::MainDialog dialog;
    FakeMainPlatform platform;
    explicit Dialog(std::string_view argument = "") : dialog(vx::ui::startMainDialog(argument)) {
        vx::ui::initMainDialog(dialog, platform);
    }
    // The user types a path into the input box and leaves it.
    void typeInput(const std::string& path) {
        platform.controls.inputPath = path;
        vx::ui::inputLostFocus(dialog, platform);
    }
    bool enabled(MainControl c) { return platform.enabled[c]; }
};

TEST(MainDialogStart, ArgumentTextGivesInputOutputAndRecalledType) {
    const struct {
        const char* argument;
        const char* input;
        const char* output;
    } cases[] = {
        {"\"C:\\My Models\\sat.LWO\"", "C:\\My Models\\sat.LWO", "C:\\My Models\\sat.mdl"},
        {"model.obj", "model.obj", "model.obj.mdl"},
        {"", "", ""},
        {"\"ship.lwo", "ship.lwo", "ship.mdl"},  // an unbalanced quote keeps the path's last character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        const vx::ui::MainDialog d = vx::ui::startMainDialog(c.argument);
        EXPECT_EQ(d.fields.inputPath, c.input);
        EXPECT_EQ(d.fields.outputPath, c.output);
        EXPECT_EQ(d.fields.modelType, ModelType::SpacecraftAircraft);
    }
    EXPECT_EQ(vx::ui::startMainDialog("\"").fields.inputPath, "");

    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("ship.mdl"), kFacilityHeader);
    EXPECT_EQ(vx::ui::startMainDialog(dir.path("ship.lwo")).fields.modelType, ModelType::Facility);
}

TEST(MainDialogStart, InitialisationHidesTheAdvancedControls) {
    Dialog d("ship.lwo");
    for (MainControl c : {MainControl::SortLayers, MainControl::AllImageFormats, MainControl::Convert,
                          MainControl::Articulate, MainControl::Details})
        EXPECT_FALSE(d.platform.shown[c]);
    for (MainControl c : {MainControl::SortLayers, MainControl::Convert, MainControl::Articulate, MainControl::Details})
        EXPECT_FALSE(d.enabled(c));
    EXPECT_EQ(d.platform.controls.inputPath, "ship.lwo");
    EXPECT_EQ(d.platform.controls.outputPath, "ship.mdl");
    // Showing them is proved on the real widgets' menu entry.
}

TEST(MainDialogOutput, FollowsTheInputAndRecallsTheModelType) {
    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("ship.mdl"), kFacilityHeader);
    Dialog d;
    auto& calls = d.platform.pickerCalls;
    d.platform.picks.push_back(dir.path("ship.lwo"));
    vx::ui::browseInput(d.dialog, d.platform);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].save);
    EXPECT_EQ(calls[0].request.defaultExtension, ".LWO");
    EXPECT_EQ(calls[0].request.filters, vx::ui::kObjectFilters);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::Facility);

    // A name without ".lwo" gets ".mdl" appended, never the model name of the
    // object before; a cancelled picker changes nothing.
    d.platform.picks.push_back("model.obj");
    vx::ui::browseInput(d.dialog, d.platform);
    EXPECT_EQ(d.platform.controls.inputPath, "model.obj");
    EXPECT_EQ(d.platform.controls.outputPath, "model.obj.mdl");
    vx::ui::browseInput(d.dialog, d.platform);
    EXPECT_EQ(calls.back().request.proposedName, "model.obj");
    EXPECT_EQ(d.platform.controls.inputPath, "model.obj");

    // A hand-typed output name gives way when the input box is left (".lwo" in any case).
    d.platform.controls.outputPath = "typed.mdl";
    d.platform.controls.modelType = ModelType::None;
    d.typeInput("other.LwO");
    EXPECT_EQ(d.platform.controls.outputPath, "other.mdl");

    // A chosen output recalls the type it was written with.
    d.platform.picks.push_back(dir.path("ship.mdl"));
    vx::ui::browseOutput(d.dialog, d.platform);
    EXPECT_TRUE(calls.back().save);
    EXPECT_EQ(calls.back().request.proposedName, "other.mdl");
    EXPECT_EQ(calls.back().request.defaultExtension, ".MDL");
    EXPECT_EQ(calls.back().request.filters, vx::ui::kModelFilters);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::Facility);
}

TEST(MainDialogForm, Lwo2InputRevealsAndOtherInputResets) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("ship.lwo"), lwo2Object());
    vxtest::writeFile(dir.path("old.lwo"), vxtest::lwobTriangle());

    // Before any LWO2 input nothing is touched.
    Dialog d;
    d.platform.shown.clear();
    d.platform.enabled.clear();
    d.typeInput(dir.path("old.lwo"));
    EXPECT_TRUE(d.platform.shown.empty());
    EXPECT_TRUE(d.platform.enabled.empty());

    d.typeInput(dir.path("ship.lwo"));
    EXPECT_TRUE(d.dialog.advancedRevealed);
    for (MainControl c : {MainControl::Convert, MainControl::Articulate, MainControl::Details})
        EXPECT_TRUE(d.platform.shown[c]);
    EXPECT_TRUE(d.enabled(MainControl::Convert) && d.enabled(MainControl::Articulate));

    // The user asks for a script only, then switches to a LightWave 5 object.
    d.platform.controls.convert = false;
    vx::ui::convertClicked(d.dialog, d.platform);
    d.platform.controls.articulate = true;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_TRUE(d.enabled(MainControl::Details));
    d.typeInput(dir.path("old.lwo"));
    EXPECT_FALSE(d.enabled(MainControl::Convert) || d.enabled(MainControl::Articulate) ||
                 d.enabled(MainControl::Details));
    EXPECT_TRUE(d.enabled(MainControl::OutputEdit));
    EXPECT_TRUE(d.platform.controls.convert);
    EXPECT_FALSE(d.platform.controls.articulate);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("old.mdl"));
    EXPECT_TRUE(d.platform.shown[MainControl::Convert]);

    // LightWave 2018+ objects reveal the same options.
    vxtest::writeFile(dir.path("new.lwo"), vxtest::form("LWO3", {}));
    d.typeInput(dir.path("new.lwo"));
    EXPECT_TRUE(d.enabled(MainControl::Convert) && d.enabled(MainControl::Articulate));

    // Too short, missing, empty or a pipe (not waited on): no LWO2 object.
    vxtest::writeText(dir.path("short.lwo"), std::string_view("FORM\0\0\0\4LWO", 11));
    ASSERT_EQ(mkfifo(dir.path("pipe.lwo").c_str(), 0600), 0);
    const std::string others[] = {dir.path("short.lwo"), dir.path("gone.lwo"), "", dir.path("pipe.lwo")};
    for (const std::string& other : others) {
        d.typeInput(dir.path("ship.lwo"));
        d.typeInput(other);
        EXPECT_FALSE(d.enabled(MainControl::Convert)) << other;
    }
}

TEST(MainDialogActions, ConvertAndArticulateClicks) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("ship.lwo"), lwo2Object());
    Dialog d(dir.path("ship.lwo"));
    EXPECT_TRUE(d.platform.shown[MainControl::Convert]);

    d.platform.controls.convert = false;
    vx::ui::convertClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.controls.outputPath, "");
    for (MainControl c : {MainControl::OutputLabel, MainControl::OutputBrowse, MainControl::OutputEdit})
        EXPECT_FALSE(d.enabled(c));

    // Ticking again renames without recalling the model type.
    vxtest::writeText(dir.path("ship.mdl"), kFacilityHeader);
    d.platform.controls.convert = true;
    vx::ui::convertClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::SpacecraftAircraft);
    EXPECT_TRUE(d.enabled(MainControl::OutputEdit));

    // Ticking "Articulate" opens the script dialog at once; only its
    // confirming button brings its values back.
    d.platform.controls.modelType = ModelType::GroundVehicle;
    bool confirm = false;
    d.platform.scriptDialog = [&](vx::ui::ScriptDialog& v) {
        EXPECT_EQ(v.modelType, ModelType::GroundVehicle);
        v.scenePath = "dish.lws";
        v.scriptPath = "dish.gvma";
        v.subdivideSteps = 7;
        v.scriptFormat = vx::ScriptFormat::CommaSeparated;
        return confirm;
    };
    d.platform.controls.articulate = true;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.scriptDialogRuns, 1);
    EXPECT_TRUE(d.enabled(MainControl::Details));
    EXPECT_EQ(d.dialog.fields.scenePath, "");
    EXPECT_EQ(d.dialog.fields.subdivideSteps, 20);

    confirm = true;
    vx::ui::openScriptDialog(d.dialog, d.platform);
    EXPECT_EQ(d.dialog.fields.scenePath, "dish.lws");
    EXPECT_EQ(d.dialog.fields.scriptPath, "dish.gvma");
    EXPECT_EQ(d.dialog.fields.subdivideSteps, 7);
    EXPECT_EQ(d.dialog.fields.scriptFormat, vx::ScriptFormat::CommaSeparated);

    d.platform.controls.articulate = false;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_FALSE(d.enabled(MainControl::Details));
    EXPECT_EQ(d.platform.scriptDialogRuns, 2);
}

// The messages themselves belong to the dispatcher; the dialog shows them,
// reports success on "Apply" only and closes on a successful "OK" only.
TEST(MainDialogRun, OkAndApplyReportAndWrite) {
    vxtest::ScratchDir dir;
    Dialog d;
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 1);
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 1);
    EXPECT_EQ(d.platform.messages, std::vector<std::string>(2, "Please enter some filenames."));
    EXPECT_EQ(d.platform.records.back().severity, vx::Severity::Error);
    EXPECT_FALSE(d.platform.closed);
    EXPECT_FALSE(d.enabled(MainControl::Preview));

    vxtest::writeFile(dir.path("ship.lwo"), vxtest::lwobTriangle());
    d.typeInput(dir.path("ship.lwo"));
    d.platform.messages.clear();
    d.platform.busyChanges.clear();
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 0);
    EXPECT_EQ(d.platform.messages, (std::vector<std::string>{"Conversion successful."}));
    EXPECT_EQ(d.platform.records.back().severity, vx::Severity::Information);
    EXPECT_EQ(d.platform.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(d.platform.closed);
    EXPECT_NE(vxtest::readText(dir.path("ship.mdl")).find("# Axis rotation applied: Spacecraft"), std::string::npos);
    // "Preview" shows the model just written.
    EXPECT_TRUE(d.enabled(MainControl::Preview));
    vx::ui::previewClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.previewed, std::vector<std::string>{dir.path("ship.mdl")});

    d.platform.messages.clear();
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 0);
    EXPECT_TRUE(d.platform.messages.empty());
    EXPECT_TRUE(d.platform.closed);
}

// Enter presses OK while the input box keeps the focus: a run first derives
// the model name from a name typed since, as leaving the box would, and
// otherwise keeps the model name the user chose.
TEST(MainDialogRun, ARunFollowsANameTypedSince) {
    vxtest::ScratchDir dir;
    for (const char* name : {"a.lwo", "b.lwo", "c.obj"}) vxtest::writeFile(dir.path(name), vxtest::lwobTriangle());
    vxtest::writeText(dir.path("a.mdl"), "earlier model of a\n");
    Dialog d(dir.path("a.lwo"));
    d.platform.controls.inputPath = dir.path("b.lwo");
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 0);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("b.mdl"));
    EXPECT_TRUE(vxtest::fileExists(dir.path("b.mdl")));
    EXPECT_EQ(vxtest::readText(dir.path("a.mdl")), "earlier model of a\n");

    d.platform.controls.inputPath = dir.path("c.obj");
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("c.obj.mdl")));

    d.platform.controls.outputPath = dir.path("chosen.mdl");
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 0);
    EXPECT_TRUE(vxtest::fileExists(dir.path("chosen.mdl")));
}

}  // namespace
