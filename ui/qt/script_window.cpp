#include "ui/qt/script_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/qt/platform_dialogs.h"

namespace vx::ui {

namespace {

QLineEdit* lineEdit(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

}  // namespace

ScriptWindow::ScriptWindow(const ScriptDialog& values, QWidget* parent) : QDialog(parent), values_(values) {
    setWindowTitle(toQString(kScriptDialogTitle));
    auto* instruction = new QLabel(
        QStringLiteral("Select a Lightwave (6 or higher) Scene file to generate an articulation script."), this);
    instruction->setWordWrap(true);
    auto* sceneBrowse = pushButton("Browse", "sceneBrowseButton", this);
    scene_ = lineEdit("sceneEdit", this);
    auto* scriptBrowse = pushButton("Browse", "scriptBrowseButton", this);
    script_ = lineEdit("scriptEdit", this);
    subdivide_ = new QCheckBox(QStringLiteral("Subdivide non-linear keys"), this);
    subdivide_->setObjectName(QStringLiteral("subdivideCheck"));
    byTimeStep_ = new QRadioButton(QStringLiteral("by time step:"), this);
    byTimeStep_->setObjectName(QStringLiteral("byTimeStepRadio"));
    bySlices_ = new QRadioButton(QStringLiteral("by # slices:"), this);
    bySlices_->setObjectName(QStringLiteral("bySlicesRadio"));
    mode_ = new QButtonGroup(this);
    mode_->addButton(byTimeStep_, 0);
    mode_->addButton(bySlices_, 1);
    timeStep_ = lineEdit("timeStepEdit", this);
    slices_ = lineEdit("slicesEdit", this);
    slices_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), slices_));
    epoch_ = lineEdit("epochEdit", this);
    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("formatCombo"));
    format_->addItems({QStringLiteral("Standard"), QStringLiteral("Tab Separated"), QStringLiteral("Comma Separated")});
    secondsPerFrame_ = new QComboBox(this);
    secondsPerFrame_->setObjectName(QStringLiteral("secondsPerFrameCombo"));
    secondsPerFrame_->setEditable(true);
    secondsPerFrame_->setInsertPolicy(QComboBox::NoInsert);
    // Typed times stay as typed: completing "1" to the entry "1/30" would
    // make every row thirty times shorter.
    secondsPerFrame_->setCompleter(nullptr);
    for (const char* entry : {"1/30", "1/15", "1/10", "1/5", "1/3", "1", "5", "10", "15", "30", "60"})
        secondsPerFrame_->addItem(QString::fromLatin1(entry));
    auto* close = pushButton("Close", "closeButton", this);
    close->setDefault(true);
    close->setAutoDefault(true);
    // Reached with the Escape key only.
    auto* cancel = pushButton("Cancel", "cancelButton", this);
    cancel->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Input Scene:"), this), 0, 0);
    grid->addWidget(sceneBrowse, 0, 2);
    grid->addWidget(scene_, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Output Script:"), this), 2, 0);
    grid->addWidget(scriptBrowse, 2, 2);
    grid->addWidget(script_, 3, 0, 1, 3);
    grid->addWidget(subdivide_, 4, 0, 1, 3);
    grid->addWidget(byTimeStep_, 5, 0);
    grid->addWidget(timeStep_, 5, 1);
    grid->addWidget(bySlices_, 6, 0);
    grid->addWidget(slices_, 6, 1);
    grid->addWidget(new QLabel(QStringLiteral("Astrovel Epoch Time (in seconds) of first Lightwave Frame:"), this), 7,
                    0, 1, 2);
    grid->addWidget(epoch_, 7, 2);
    grid->addWidget(new QLabel(QStringLiteral("Format:"), this), 8, 0, 1, 2);
    grid->addWidget(format_, 8, 2);
    grid->addWidget(new QLabel(QStringLiteral("Astrovel Scenario Time (in seconds) per Lightwave Frame:"), this), 9,
                    0, 1, 2);
    grid->addWidget(secondsPerFrame_, 9, 2);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    scene_->setMinimumWidth(360);

    // The combo box holds the focus for its edit line and passes the focus
    // events on directly, past any filter of the line.
    secondsPerFrame_->installEventFilter(this);
    connect(sceneBrowse, &QPushButton::clicked, this, [this] { browseScene(values_, *this); });
    connect(scriptBrowse, &QPushButton::clicked, this, [this] { browseScript(values_, *this); });
    connect(subdivide_, &QCheckBox::clicked, this, [this] { updateSubdivideControls(values_, *this); });
    connect(byTimeStep_, &QRadioButton::clicked, this, [this] { updateSubdivideControls(values_, *this); });
    connect(bySlices_, &QRadioButton::clicked, this, [this] { updateSubdivideControls(values_, *this); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (closeScriptDialog(values_, *this)) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    initScriptDialog(values_, *this);
}

// The box loses the focus while the window is taken apart.
ScriptWindow::~ScriptWindow() { secondsPerFrame_->removeEventFilter(this); }

bool ScriptWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == secondsPerFrame_ && isFocusLeft(event)) parseSecondsPerFrame(values_, *this);
    return QDialog::eventFilter(watched, event);
}

QWidget* ScriptWindow::control(ScriptControl c) const {
    switch (c) {
        case ScriptControl::ByTimeStep: return byTimeStep_;
        case ScriptControl::BySlices: return bySlices_;
        case ScriptControl::TimeStepBox: return timeStep_;
        case ScriptControl::SlicesBox: return slices_;
        case ScriptControl::EpochBox: return epoch_;
        case ScriptControl::SecondsPerFrameBox: return secondsPerFrame_;
    }
    return nullptr;
}

void ScriptWindow::report(const Message& message) { showMessageBox(this, message); }

std::optional<std::string> ScriptWindow::pickOpenFile(const FilePickerRequest& request) {
    return pickFile(this, request, false);
}

std::optional<std::string> ScriptWindow::pickSaveFile(const FilePickerRequest& request) {
    return pickFile(this, request, true);
}

ScriptControls ScriptWindow::readControls() {
    ScriptControls c;
    c.scenePath = qStringToPath(scene_->text());
    c.scriptPath = qStringToPath(script_->text());
    c.epoch = epoch_->text().toStdString();
    c.secondsPerFrame = secondsPerFrame_->currentText().toStdString();
    c.scriptFormat = format_->currentIndex();
    c.subdivide = subdivide_->isChecked();
    c.subdivideMode = mode_->checkedId();
    c.subdivideSteps = slices_->text().toStdString();
    c.subdivideTimeStep = timeStep_->text().toStdString();
    return c;
}

void ScriptWindow::showControls(const ScriptControls& c) {
    scene_->setText(pathToQString(c.scenePath));
    script_->setText(pathToQString(c.scriptPath));
    epoch_->setText(toQString(c.epoch));
    // Exactly the text: "1/2 " stays as it is, not the list entry it begins.
    secondsPerFrame_->setEditText(toQString(c.secondsPerFrame));
    format_->setCurrentIndex(c.scriptFormat >= 0 && c.scriptFormat < format_->count() ? c.scriptFormat : -1);
    subdivide_->setChecked(c.subdivide);
    if (QAbstractButton* radio = mode_->button(c.subdivideMode)) radio->setChecked(true);
    slices_->setText(toQString(c.subdivideSteps));
    timeStep_->setText(toQString(c.subdivideTimeStep));
}

void ScriptWindow::setEnabled(ScriptControl c, bool enabled) { control(c)->setEnabled(enabled); }

void ScriptWindow::focus(ScriptControl c) { control(c)->setFocus(Qt::OtherFocusReason); }

}  // namespace vx::ui
