#pragma once
// The "Articulation Script Converter" dialog's widgets, bound to its logic.

#include <QDialog>

#include "ui/script_dialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLayout;
class QLineEdit;
class QRadioButton;

namespace vx::ui {

class ScriptWindow : public QDialog, public ScriptPlatform {
    Q_OBJECT

public:
    ScriptWindow(const ScriptDialog& values, QWidget* parent = nullptr);
    ~ScriptWindow() override;

    const ScriptDialog& values() const { return values_; }

    void report(const Message& message) override;
    std::optional<std::string> pickOpenFile(const FilePickerRequest& request) override;
    std::optional<std::string> pickSaveFile(const FilePickerRequest& request) override;
    ScriptControls readControls() override;
    void showControls(const ScriptControls& controls) override;
    void setControlEnabled(ScriptControl control, bool enabled) override;
    void focus(ScriptControl control) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The grid's rows from top to bottom; each makes its controls and
    // connects them to the logic.
    void addFileRows(QGridLayout* grid);
    void addSubdivideRows(QGridLayout* grid);
    void addTimingRows(QGridLayout* grid);
    QLayout* buttonRow();
    QWidget* control(ScriptControl c) const;

    ScriptDialog values_;
    QLineEdit* scene_;
    QLineEdit* script_;
    QCheckBox* subdivide_;
    QRadioButton* byTimeStep_;
    QRadioButton* bySlices_;
    QButtonGroup* mode_;
    QLineEdit* timeStep_;
    QLineEdit* slices_;
    QLineEdit* epoch_;
    QComboBox* format_;
    QComboBox* secondsPerFrame_;
};

}  // namespace vx::ui
