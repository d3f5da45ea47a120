#pragma once
// The message box and file pickers both dialogs share, and the conversions
// between the logic's byte strings and Qt's texts.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

#include "ui/dialog_platform.h"

class QEvent;
class QMessageBox;
class QWidget;

namespace vx::ui {

QString toQString(std::string_view text);
// A caption or message of the dialogs' logic as the user's language has it;
// the logic's own words when no translation is loaded.
QString translated(std::string_view text);
// Paths go to the file system in its own encoding.
QString pathToQString(const std::string& path);
std::string qStringToPath(const QString& path);

// Qt's name filters, "Lightwave Objects (*.lwo)" and "All Files (*)".
QStringList qtNameFilters(const FileFilters& filters);

// A box titled with the program's name: the message's text as its main
// line, "File: PATH" and "Reason: REASON" under it (each when known), the
// severity's icon and an OK button.
std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const Message& message);
// The same, shown modally.
void showMessageBox(QWidget* parent, const Message& message);

// The user left an edit box: a focus lost to another window, a popup or a
// message box does not count.
bool isFocusLeft(const QEvent* event);
std::optional<std::string> pickFile(QWidget* parent, const FilePickerRequest& request, bool save);

}  // namespace vx::ui
