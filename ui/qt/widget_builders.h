#pragma once
// The small pieces the dialogs' windows are put together from. Captions come
// in already translated; object names are the tests' handles and stay as given.

#include <QString>
#include <Qt>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vx::ui {

// A push button that Enter does not press unless it is the default one.
QPushButton* pushButton(const QString& caption, const char* objectName, QWidget* parent);
// The button Enter presses wherever the focus is.
QPushButton* defaultButton(const QString& caption, const char* objectName, QWidget* parent);
QCheckBox* checkBox(const QString& caption, const char* objectName, QWidget* parent);
QLineEdit* lineEdit(const char* objectName, QWidget* parent);
// A radio button that `group` knows as `id`.
QRadioButton* radioButton(QButtonGroup* group, int id, const QString& caption, const QString& objectName,
                          QWidget* parent);
QLabel* boldLabel(const QString& text, QWidget* parent);

// A path's two rows of `grid` from `row` on: its label with the browse button
// in the last of `columns`, and under them the edit box across all of them.
void addPathRows(QGridLayout* grid, int row, int columns, QLabel* label, QPushButton* browse, QLineEdit* edit,
                 Qt::Alignment browseAlignment = {});

}  // namespace vx::ui
