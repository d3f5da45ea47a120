#pragma once
// The message box and file pickers both dialogs share, and the conversions
// between the logic's byte strings and Qt's texts.

#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QStringList>

#include "ui/dialog_platform.h"

#include <memory>

class QEvent;
class QMessageBox;
class QPushButton;
class QWidget;

namespace vx::ui {

QString toQString(std::string_view text);
// Paths go to the file system in its own encoding.
QString pathToQString(const std::string& path);
std::string qStringToPath(const QString& path);

// "Objects (*.lwo)|*.lwo|All Files (*.*)|*.*||" as Qt's name filters. Every
// file matches "*.*" on Windows but only names with a dot elsewhere, so it
// becomes "*".
QStringList qtNameFilters(std::string_view filterList);

// A box titled with the program's name: the message's text as its main
// line, "File: PATH" and "Reason: REASON" under it (each when known), the
// severity's icon and an OK button.
std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const Message& message);
// The same, shown modally.
void showMessageBox(QWidget* parent, const Message& message);

// A push button that Enter does not press unless it is the default one.
QPushButton* pushButton(const char* caption, const char* objectName, QWidget* parent);

// The user left an edit box: a focus lost to another window, a popup or a
// message box does not count.
bool isFocusLeft(const QEvent* event);
std::optional<std::string> pickFile(QWidget* parent, const FilePickerRequest& request, bool save);

}  // namespace vx::ui
