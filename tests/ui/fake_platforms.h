#pragma once
// Platforms that stand in for the widgets: the tests set the controls as a
// user would and read back what the dialogs did to them.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/main_dialog.h"
#include "ui/script_dialog.h"
#include "tests/support/test_support.h"

namespace vxtest {

struct PickerCall {
    bool save;
    vx::ui::FilePickerRequest request;
};

template <class Base>
class FakePickers : public Base {
public:
    void report(const vx::Message& m) override {
        messages.emplace_back(m.text);
        records.push_back(record(m));
    }
    std::optional<std::string> pickOpenFile(const vx::ui::FilePickerRequest& r) override { return pick(false, r); }
    std::optional<std::string> pickSaveFile(const vx::ui::FilePickerRequest& r) override { return pick(true, r); }

    std::vector<std::string> messages;
    std::vector<Recorded> records;
    std::deque<std::optional<std::string>> picks;  // the user's next choices; empty: cancelled
    std::vector<PickerCall> pickerCalls;

private:
    std::optional<std::string> pick(bool save, const vx::ui::FilePickerRequest& r) {
        pickerCalls.push_back({save, r});
        if (picks.empty()) return std::nullopt;
        auto chosen = picks.front();
        picks.pop_front();
        return chosen;
    }
};

class FakeMainPlatform final : public FakePickers<vx::ui::MainPlatform> {
public:
    void readControls(vx::ConversionJob& f) override {
        f.modelType = controls.modelType;
        f.inputPath = controls.inputPath;
        f.outputPath = controls.outputPath;
        f.convert = controls.convert;
        f.articulate = controls.articulate;
        f.sortLayers = controls.sortLayers;
        f.allImageFormats = controls.allImageFormats;
    }
    void showFields(const vx::ConversionJob& f) override { controls = f; }
    void setShown(vx::ui::MainControl c, bool v) override { shown[c] = v; }
    void setControlEnabled(vx::ui::MainControl c, bool v) override { enabled[c] = v; }
    void refreshControls() override {}
    // The window's title, icon and menu are checked on the real widgets.
    void setTitle(std::string_view) override {}
    void setProgramIcon() override {}
    void addWindowMenuEntries(std::string_view, std::string_view) override {}
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    bool runScriptDialog(vx::ui::ScriptDialog& values) override {
        ++scriptDialogRuns;
        return scriptDialog ? scriptDialog(values) : false;
    }
    void runPreviewWindow(const std::string& mdlPath) override { previewed.push_back(mdlPath); }
    void closeDialog() override { closed = true; }

    // What the widgets hold; scene and script settings are not shown here.
    vx::ConversionJob controls;
    std::map<vx::ui::MainControl, bool> shown, enabled;
    std::vector<bool> busyChanges;
    std::function<bool(vx::ui::ScriptDialog&)> scriptDialog;
    int scriptDialogRuns = 0;
    std::vector<std::string> previewed;
    bool closed = false;
};

class FakeScriptPlatform final : public FakePickers<vx::ui::ScriptPlatform> {
public:
    vx::ui::ScriptControls readControls() override { return controls; }
    void showControls(const vx::ui::ScriptControls& c) override { controls = c; }
    void setControlEnabled(vx::ui::ScriptControl c, bool v) override { enabled[c] = v; }
    void focus(vx::ui::ScriptControl c) override { focused = c; }

    vx::ui::ScriptControls controls;
    std::map<vx::ui::ScriptControl, bool> enabled;
    std::optional<vx::ui::ScriptControl> focused;
};

}  // namespace vxtest
