// Files dropped on the dialogs: the first one of the dialog's kind counts,
// as if picked, whatever the case of its extension.

#include <gtest/gtest.h>

#include "tests/support/lwo_builder.h"
#include "tests/support/test_support.h"
#include "tests/ui/fake_platforms.h"

namespace {

TEST(Drops, TheFirstObjectOrSceneIsTakenAsIfPicked) {
    vxtest::ScratchDir dir;
    vxtest::writeFile(dir.path("Ship.LWO"), vxtest::form("LWO3", {}));
    vxtest::FakeMainPlatform main;
    vx::ui::MainDialog dialog = vx::ui::startMainDialog("");
    vx::ui::initMainDialog(dialog, main);
    EXPECT_FALSE(vx::ui::dropInput(dialog, main, {dir.path("notes.txt"), dir.path("ship.lws")}));
    EXPECT_EQ(main.controls.inputPath, "");
    EXPECT_TRUE(vx::ui::dropInput(dialog, main, {dir.path("notes.txt"), dir.path("Ship.LWO"), dir.path("b.lwo")}));
    EXPECT_EQ(main.controls.inputPath, dir.path("Ship.LWO"));
    EXPECT_EQ(main.controls.outputPath, dir.path("Ship.mdl"));
    EXPECT_TRUE(main.enabled[vx::ui::MainControl::Articulate]);

    vxtest::FakeScriptPlatform script;
    vx::ui::ScriptDialog values = vx::ui::scriptDialogFor({.modelType = vx::ModelType::GroundVehicle});
    vx::ui::initScriptDialog(values, script);
    EXPECT_FALSE(vx::ui::dropScene(values, script, {dir.path("Ship.LWO")}));
    EXPECT_TRUE(vx::ui::dropScene(values, script, {dir.path("Dock.LWS")}));
    EXPECT_EQ(script.controls.scenePath, dir.path("Dock.LWS"));
    EXPECT_EQ(script.controls.scriptPath, dir.path("Dock.gvma"));
    EXPECT_TRUE(main.pickerCalls.empty() && script.pickerCalls.empty());
}

}  // namespace
