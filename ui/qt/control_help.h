#pragma once
// What each control of the dialogs does, shown as its tooltip, and the
// dropping of files on a dialog.

#include <span>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace vx::ui {

struct ControlHelp {
    const char* objectName;
    const char* toolTip;
};

extern const ControlHelp kMainControlHelp[];
extern const std::size_t kMainControlHelpCount;
extern const ControlHelp kScriptControlHelp[];
extern const std::size_t kScriptControlHelpCount;
extern const ControlHelp kPreviewControlHelp[];
extern const std::size_t kPreviewControlHelpCount;

// Gives each named child of `window` its tooltip, in the user's language.
void applyControlHelp(QWidget& window, std::span<const ControlHelp> help);

// The local files among dropped data, in the order dropped.
std::vector<std::string> droppedPaths(const QMimeData* data);

}  // namespace vx::ui
