#include "ui/main_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"
#include "tests/ui/fake_platforms.h"

namespace {

using vx::ModelType;
using vx::ui::MainControl;
using vx::ui::MainDialog;
using vxtest::chunk;
using vxtest::Data;
using vxtest::FakeMainPlatform;
using vxtest::form;

std::vector<std::uint8_t> triangleObject() {
    return form("LWOB", {chunk("PNTS", Data().point(0, 0, 0).point(1, 0, 0).point(0, 1, 0)),
                         chunk("SRFS", Data().name("Hull")), chunk("POLS", vxtest::lwobPolygon({0, 1, 2}, 1))});
}

// Only the form type decides; the rest need not be a valid object.
std::vector<std::uint8_t> lwo2Object() { return form("LWO2", {chunk("TAGS", Data().name("Default"))}); }

constexpr const char* kFacilityHeader =
    "# Korvan 3D Model file\n# Axis rotation applied: Facility (+Y to +Z)\nComponent Main\n";

struct Dialog {
    MainDialog dialog;
    FakeMainPlatform platform;
    explicit Dialog(std::string_view argument = "") : dialog(vx::ui::startMainDialog(argument)) {
        vx::ui::initMainDialog(dialog, platform);
    }
    // The user types a path into the input box and leaves it.
    void typeInput(const std::string& path) {
        platform.controls.inputPath = path;
        vx::ui::inputLostFocus(dialog, platform);
    }
};

TEST(MainDialogStart, ArgumentTextGivesInputOutputAndRecalledType) {
    auto quoted = vx::ui::startMainDialog("\"C:\\My Models\\sat.LWO\"");
    EXPECT_EQ(quoted.fields.inputPath, "C:\\My Models\\sat.LWO");
    EXPECT_EQ(quoted.fields.outputPath, "C:\\My Models\\sat.mdl");

    auto plain = vx::ui::startMainDialog("model.obj");
    EXPECT_EQ(plain.fields.inputPath, "model.obj");
    EXPECT_EQ(plain.fields.outputPath, "model.obj.mdl");

    auto none = vx::ui::startMainDialog("");
    EXPECT_EQ(none.fields.inputPath, "");
    EXPECT_EQ(none.fields.outputPath, "");
    EXPECT_TRUE(none.fields.convert);
    EXPECT_FALSE(none.fields.articulate);
    EXPECT_EQ(none.fields.modelType, ModelType::SpacecraftAircraft);

    // An unbalanced quote keeps the path's last character.
    auto open = vx::ui::startMainDialog("\"ship.lwo");
    EXPECT_EQ(open.fields.inputPath, "ship.lwo");
    EXPECT_EQ(open.fields.outputPath, "ship.mdl");
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
    EXPECT_FALSE(d.platform.enabled[MainControl::SortLayers]);
    EXPECT_FALSE(d.platform.enabled[MainControl::Convert]);
    EXPECT_FALSE(d.platform.enabled[MainControl::Articulate]);
    EXPECT_FALSE(d.platform.enabled[MainControl::Details]);
    EXPECT_EQ(d.platform.title, "Vertexion v2.8b");
    EXPECT_EQ(d.platform.menuEntries, (std::vector<std::string>{"Advanced Options...", "&About Vertexion..."}));
    EXPECT_TRUE(d.platform.iconSet);
    EXPECT_EQ(d.platform.controls.inputPath, "ship.lwo");
    EXPECT_EQ(d.platform.controls.outputPath, "ship.mdl");

    vx::ui::showAdvancedOptions(d.dialog, d.platform);
    EXPECT_TRUE(d.platform.shown[MainControl::SortLayers] && d.platform.enabled[MainControl::SortLayers]);
    EXPECT_TRUE(d.platform.shown[MainControl::AllImageFormats] && d.platform.enabled[MainControl::AllImageFormats]);
    EXPECT_EQ(d.platform.repaints, 1);
}

TEST(MainDialogOutput, FollowsTheInputAndRecallsTheModelType) {
    std::string out = "keep.mdl";
    EXPECT_TRUE(vx::ui::deriveOutputPath("dir/Ship.LwO", out));
    EXPECT_EQ(out, "dir/Ship.mdl");
    EXPECT_FALSE(vx::ui::deriveOutputPath("model.obj", out));
    EXPECT_EQ(out, "dir/Ship.mdl");

    vxtest::ScratchDir dir;
    vxtest::writeText(dir.path("ship.mdl"), kFacilityHeader);
    Dialog d;
    d.platform.picks.push_back(dir.path("ship.lwo"));
    vx::ui::browseInput(d.dialog, d.platform);
    ASSERT_EQ(d.platform.pickerCalls.size(), 1u);
    EXPECT_FALSE(d.platform.pickerCalls[0].save);
    EXPECT_EQ(d.platform.pickerCalls[0].request.defaultExtension, ".LWO");
    EXPECT_EQ(d.platform.pickerCalls[0].request.filters, "Lightwave Objects (*.lwo)|*.lwo|All Files (*.*)|*.*||");
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::Facility);

    // A name without ".lwo" leaves the output alone; a cancelled picker changes nothing.
    d.platform.picks.push_back("model.obj");
    vx::ui::browseInput(d.dialog, d.platform);
    EXPECT_EQ(d.platform.controls.inputPath, "model.obj");
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    vx::ui::browseInput(d.dialog, d.platform);
    EXPECT_EQ(d.platform.pickerCalls.back().request.proposedName, "model.obj");
    EXPECT_EQ(d.platform.controls.inputPath, "model.obj");

    // A hand-typed output name gives way when the input box is left.
    d.platform.controls.outputPath = "typed.mdl";
    d.platform.controls.modelType = ModelType::None;
    d.typeInput("other.lwo");
    EXPECT_EQ(d.platform.controls.outputPath, "other.mdl");

    // A chosen output recalls the type it was written with.
    d.platform.picks.push_back(dir.path("ship.mdl"));
    vx::ui::browseOutput(d.dialog, d.platform);
    EXPECT_TRUE(d.platform.pickerCalls.back().save);
    EXPECT_EQ(d.platform.pickerCalls.back().request.proposedName, "other.mdl");
    EXPECT_EQ(d.platform.pickerCalls.back().request.defaultExtension, ".MDL");
    EXPECT_EQ(d.platform.pickerCalls.back().request.filters, "Korvan Model Files (*.mdl)|*.mdl|All Files (*.*)|*.*||");
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::Facility);
}

TEST(MainDialogForm, Lwo2InputRevealsAndOtherInputResets) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("ship.lwo"), lwo2Object());
    vxtest::writeFile(dir.path("old.lwo"), triangleObject());

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
    EXPECT_TRUE(d.platform.enabled[MainControl::Convert]);
    EXPECT_TRUE(d.platform.enabled[MainControl::Articulate]);

    // The user asks for a script only, then switches to a LightWave 5 object.
    d.platform.controls.convert = false;
    vx::ui::convertClicked(d.dialog, d.platform);
    d.platform.controls.articulate = true;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_TRUE(d.platform.enabled[MainControl::Details]);
    d.typeInput(dir.path("old.lwo"));
    EXPECT_FALSE(d.platform.enabled[MainControl::Convert]);
    EXPECT_FALSE(d.platform.enabled[MainControl::Articulate]);
    EXPECT_FALSE(d.platform.enabled[MainControl::Details]);
    EXPECT_TRUE(d.platform.enabled[MainControl::OutputEdit]);
    EXPECT_TRUE(d.platform.controls.convert);
    EXPECT_FALSE(d.platform.controls.articulate);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("old.mdl"));
    EXPECT_TRUE(d.platform.shown[MainControl::Convert]);

    // Too short, missing or empty: the same as any other content.
    vxtest::writeText(dir.path("short.lwo"), std::string_view("FORM\0\0\0\4LWO", 11));
    d.typeInput(dir.path("ship.lwo"));
    d.typeInput(dir.path("short.lwo"));
    EXPECT_FALSE(d.platform.enabled[MainControl::Convert]);
    d.typeInput(dir.path("ship.lwo"));
    d.typeInput("");
    EXPECT_FALSE(d.platform.enabled[MainControl::Convert]);

    // A pipe is not waited on: it is no object.
    ASSERT_EQ(mkfifo(dir.path("pipe.lwo").c_str(), 0600), 0);
    d.typeInput(dir.path("ship.lwo"));
    d.typeInput(dir.path("pipe.lwo"));
    EXPECT_FALSE(d.platform.enabled[MainControl::Convert]);
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
        EXPECT_FALSE(d.platform.enabled[c]);

    // Ticking again renames without recalling the model type.
    vxtest::writeText(dir.path("ship.mdl"), kFacilityHeader);
    d.platform.controls.convert = true;
    vx::ui::convertClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.controls.outputPath, dir.path("ship.mdl"));
    EXPECT_EQ(d.platform.controls.modelType, ModelType::SpacecraftAircraft);
    EXPECT_TRUE(d.platform.enabled[MainControl::OutputEdit]);

    // Ticking "Articulate" opens the script dialog at once; only its
    // confirming button brings its values back.
    d.platform.controls.modelType = ModelType::GroundVehicle;
    d.platform.scriptDialog = [](vx::ui::ScriptDialog& v) {
        EXPECT_EQ(v.scriptExtension, ".gvma");
        EXPECT_EQ(v.subdivideSteps, 20);
        v.scenePath = "dish.lws";
        v.scriptPath = "dish.gvma";
        v.subdivideSteps = 7;
        return false;
    };
    d.platform.controls.articulate = true;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_EQ(d.platform.scriptDialogRuns, 1);
    EXPECT_TRUE(d.platform.enabled[MainControl::Details]);
    EXPECT_EQ(d.dialog.fields.scenePath, "");

    d.platform.scriptDialog = [](vx::ui::ScriptDialog& v) {
        v.scenePath = "dish.lws";
        v.scriptPath = "dish.gvma";
        v.subdivideSteps = 7;
        v.scriptFormat = 2;
        return true;
    };
    vx::ui::openScriptDialog(d.dialog, d.platform);
    EXPECT_EQ(d.dialog.fields.scenePath, "dish.lws");
    EXPECT_EQ(d.dialog.fields.scriptPath, "dish.gvma");
    EXPECT_EQ(d.dialog.fields.subdivideSteps, 7);
    EXPECT_EQ(d.dialog.fields.scriptFormat, vx::ScriptFormat::CommaSeparated);

    d.platform.controls.articulate = false;
    vx::ui::articulateClicked(d.dialog, d.platform);
    EXPECT_FALSE(d.platform.enabled[MainControl::Details]);
    EXPECT_EQ(d.platform.scriptDialogRuns, 2);
}

TEST(MainDialogRun, OkAndApplyReportAndWrite) {
    vxtest::ScratchDir dir;
    Dialog d;
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 1);
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 1);
    EXPECT_EQ(d.platform.messages,
              (std::vector<std::string>{"Please enter some filenames.", "Please enter some filenames."}));
    EXPECT_FALSE(d.platform.closed);

    vxtest::writeFile(dir.path("ship.lwo"), triangleObject());
    d.typeInput(dir.path("ship.lwo"));
    d.platform.controls.convert = false;
    d.platform.messages.clear();
    vx::ui::pressApply(d.dialog, d.platform);
    EXPECT_EQ(d.platform.messages, (std::vector<std::string>{"No convertion options selected."}));

    d.platform.controls.convert = true;
    d.platform.messages.clear();
    d.platform.busyChanges.clear();
    EXPECT_EQ(vx::ui::pressApply(d.dialog, d.platform), 0);
    EXPECT_EQ(d.platform.messages, (std::vector<std::string>{"Conversion successful."}));
    EXPECT_EQ(d.platform.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(d.platform.closed);
    EXPECT_NE(vxtest::readText(dir.path("ship.mdl")).find("# Axis rotation applied: Spacecraft"), std::string::npos);
    EXPECT_EQ(d.platform.controls.inputPath, dir.path("ship.lwo"));

    // A failed run leaves the dialog open and claims no success.
    vxtest::writeFile(dir.path("picture.lwo"), form("ILBM", {chunk("BMHD", Data().u4(0))}));
    d.typeInput(dir.path("picture.lwo"));
    d.platform.messages.clear();
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 1);
    EXPECT_EQ(d.platform.messages, (std::vector<std::string>{"Not a Lightwave Object."}));
    EXPECT_FALSE(d.platform.closed);

    d.typeInput(dir.path("ship.lwo"));
    d.platform.messages.clear();
    EXPECT_EQ(vx::ui::pressOk(d.dialog, d.platform), 0);
    EXPECT_TRUE(d.platform.messages.empty());
    EXPECT_TRUE(d.platform.closed);
}

}  // namespace
