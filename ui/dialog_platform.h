#pragma once
// What every dialog asks of the windowing toolkit: a one-line message box and
// the two file pickers. The dialogs' logic talks only to these interfaces, so
// it runs the same under Qt and under the tests' fake platform.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.h"

namespace vx::ui {

// One entry of a picker's file-type list: "Lightwave Objects" with "*.lwo".
// The toolkit decides how to show the patterns next to the description.
struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
    bool operator==(const FileFilter&) const = default;
};

using FileFilters = std::vector<FileFilter>;

// Every picker ends its list with this one; "*" and not "*.*", so that names
// without a dot are offered as well.
inline const FileFilter kAllFilesFilter = {"All Files", {"*"}};

struct FilePickerRequest {
    std::string proposedName;      // the current path of the field
    std::string defaultExtension;  // added to a typed name without one; empty: none
    FileFilters filters;           // in the order offered, the first chosen at the start
    std::string_view title;        // the picker's window title: what it picks
};

// The first of `paths` whose extension is `extension` in any case (".lwo"),
// as dropped on a dialog; none when no path has it.
std::optional<std::string> firstWithExtension(const std::vector<std::string>& paths, std::string_view extension);

// The dialogs' own messages and those of a conversion run alike end up in
// the platform's message box, so the platform is the run's message sink: its
// report() shows a modal box with an OK button, the message's text as its
// main line, the file and the reason under it, and the severity's icon.
class DialogPlatform : public MessageSink {
public:
    // The chosen full path, or nothing when the picker was cancelled. The save
    // picker asks no overwrite question: the conversion replaces the file.
    virtual std::optional<std::string> pickOpenFile(const FilePickerRequest& request) = 0;
    virtual std::optional<std::string> pickSaveFile(const FilePickerRequest& request) = 0;

    void inform(std::string_view text) { report({Severity::Information, text, {}, {}}); }
};

}  // namespace vx::ui
