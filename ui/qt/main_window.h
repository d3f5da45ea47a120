#pragma once
// The main dialog's widgets, bound to the dialog's logic.

#include <string_view>

#include <QDialog>

#include "ui/main_dialog.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace vx::ui {

class MainWindow : public QDialog, public MainPlatform {
    Q_OBJECT

public:
    // `argumentText`: the program's whole argument text.
    explicit MainWindow(std::string_view argumentText, QWidget* parent = nullptr);
    ~MainWindow() override;

    const MainDialog& dialog() const { return dialog_; }

    void report(const Message& message) override;
    std::optional<std::string> pickOpenFile(const FilePickerRequest& request) override;
    std::optional<std::string> pickSaveFile(const FilePickerRequest& request) override;
    void readControls(ConversionJob& fields) override;
    void showFields(const ConversionJob& fields) override;
    void setShown(MainControl control, bool shown) override;
    void setControlEnabled(MainControl control, bool enabled) override;
    void refreshControls() override;
    void setTitle(std::string_view title) override;
    void setProgramIcon() override;
    void addWindowMenuEntries(std::string_view advancedOptions, std::string_view about) override;
    void setBusy(bool busy) override;
    bool runScriptDialog(ScriptDialog& values) override;
    void runPreviewWindow(const std::string& mdlPath) override;
    void closeDialog() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The window's parts from top to bottom; each makes its controls and
    // connects them to the logic.
    QLayout* headingRow();
    QLayout* optionRow();
    QLayout* fileRows();
    QLayout* actionRow();
    QWidget* modelTypeBox();
    QLayout* buttonRow();
    QWidget* control(MainControl c) const;
    void showAbout();
    void showHints();

    MainDialog dialog_;
    bool busy_ = false;
    QCheckBox* sortLayers_;
    QCheckBox* allImageFormats_;
    QLineEdit* inputEdit_;
    QLabel* outputLabel_;
    QPushButton* outputBrowse_;
    QLineEdit* outputEdit_;
    QCheckBox* convert_;
    QCheckBox* articulate_;
    QPushButton* details_;
    QPushButton* preview_;
    QButtonGroup* modelType_;
    QToolButton* menuButton_;
};

}  // namespace vx::ui
