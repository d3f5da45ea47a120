#include "ui/qt/script_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ui/qt/control_help.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/widget_builders.h"

namespace vx::ui {

namespace {

// Typed times are numbers the logic reads, so the entries stay as they are in
// every language.
constexpr const char* kSecondsPerFrameEntries[] = {"1/30", "1/15", "1/10", "1/5", "1/3", "1", "5", "10", "15", "30", "60"};

// A label across the first two columns and its control in the third.
void addLabelledRow(QGridLayout* grid, int row, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, control->parentWidget());
    label->setBuddy(control);
    grid->addWidget(label, row, 0, 1, 2);
    grid->addWidget(control, row, 2);
}

}  // namespace

ScriptWindow::ScriptWindow(const ScriptDialog& values, QWidget* parent) : QDialog(parent), values_(values) {
    setWindowTitle(translated(kScriptDialogTitle));
    auto* instruction =
        new QLabel(tr("Select a Lightwave (6 or higher) Scene file to generate an articulation script."), this);
    instruction->setWordWrap(true);
    auto* grid = new QGridLayout;
    addFileRows(grid);
    addSubdivideRows(grid);
    addTimingRows(grid);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addLayout(grid);
    layout->addLayout(buttonRow());
    applyControlHelp(*this, {kScriptControlHelp, kScriptControlHelpCount});
    setAcceptDrops(true);
    initScriptDialog(values_, *this);
}

void ScriptWindow::addFileRows(QGridLayout* grid) {
    auto* sceneBrowse = pushButton(tr("Browse"), "sceneBrowseButton", this);
    scene_ = lineEdit("sceneEdit", this);
    auto* scriptBrowse = pushButton(tr("Browse"), "scriptBrowseButton", this);
    script_ = lineEdit("scriptEdit", this);
    scene_->setMinimumWidth(360);
    connect(sceneBrowse, &QPushButton::clicked, this, [this] { browseScene(values_, *this); });
    connect(scriptBrowse, &QPushButton::clicked, this, [this] { browseScript(values_, *this); });
    addPathRows(grid, 0, 3, new QLabel(tr("&Input Scene:"), this), sceneBrowse, scene_);
    addPathRows(grid, 2, 3, new QLabel(tr("&Output Script:"), this), scriptBrowse, script_);
}

void ScriptWindow::addSubdivideRows(QGridLayout* grid) {
    subdivide_ = checkBox(tr("&Subdivide non-linear keys"), "subdivideCheck", this);
    mode_ = new QButtonGroup(this);
    byTimeStep_ = radioButton(mode_, int(SubdivideMode::ByTimeStep), tr("by &time step:"),
                              QStringLiteral("byTimeStepRadio"), this);
    bySlices_ = radioButton(mode_, int(SubdivideMode::BySlices), tr("by # s&lices:"), QStringLiteral("bySlicesRadio"),
                            this);
    timeStep_ = lineEdit("timeStepEdit", this);
    slices_ = lineEdit("slicesEdit", this);
    slices_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), slices_));
    const auto update = [this] { updateSubdivideControls(values_, *this); };
    connect(subdivide_, &QCheckBox::clicked, this, update);
    connect(byTimeStep_, &QRadioButton::clicked, this, update);
    connect(bySlices_, &QRadioButton::clicked, this, update);
    grid->addWidget(subdivide_, 4, 0, 1, 3);
    grid->addWidget(byTimeStep_, 5, 0);
    grid->addWidget(timeStep_, 5, 1);
    grid->addWidget(bySlices_, 6, 0);
    grid->addWidget(slices_, 6, 1);
}

void ScriptWindow::addTimingRows(QGridLayout* grid) {
    epoch_ = lineEdit("epochEdit", this);
    format_ = new QComboBox(this);
    format_->setObjectName(QStringLiteral("formatCombo"));
    // In the order of ScriptFormat, whose values are the entries' indices.
    format_->addItems({tr("Standard"), tr("Tab Separated"), tr("Comma Separated")});
    secondsPerFrame_ = new QComboBox(this);
    secondsPerFrame_->setObjectName(QStringLiteral("secondsPerFrameCombo"));
    secondsPerFrame_->setEditable(true);
    secondsPerFrame_->setInsertPolicy(QComboBox::NoInsert);
    // Typed times stay as typed: completing "1" to the entry "1/30" would
    // make every row thirty times shorter.
    secondsPerFrame_->setCompleter(nullptr);
    for (const char* entry : kSecondsPerFrameEntries) secondsPerFrame_->addItem(QString::fromLatin1(entry));
    // The combo box holds the focus for its edit line and passes the focus
    // events on directly, past any filter of the line.
    secondsPerFrame_->installEventFilter(this);
    addLabelledRow(grid, 7, tr("Astrovel &Epoch Time (in seconds) of first Lightwave Frame:"), epoch_);
    addLabelledRow(grid, 8, tr("&Format:"), format_);
    addLabelledRow(grid, 9, tr("Astrovel Scenario Time (in seconds) &per Lightwave Frame:"), secondsPerFrame_);
}

QLayout* ScriptWindow::buttonRow() {
    auto* close = defaultButton(tr("&Close"), "closeButton", this);
    // Reached with the Escape key only.
    auto* cancel = pushButton(tr("Cancel"), "cancelButton", this);
    cancel->hide();
    connect(close, &QPushButton::clicked, this, [this] {
        if (closeScriptDialog(values_, *this)) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    row->addWidget(cancel);
    return row;
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
    if (format_->currentIndex() >= 0) c.scriptFormat = static_cast<ScriptFormat>(format_->currentIndex());
    c.subdivide = subdivide_->isChecked();
    c.subdivideMode = mode_->checkedId() == int(SubdivideMode::ByTimeStep) ? SubdivideMode::ByTimeStep
                                                                          : SubdivideMode::BySlices;
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
    const int format = c.scriptFormat ? static_cast<int>(*c.scriptFormat) : -1;
    format_->setCurrentIndex(format >= 0 && format < format_->count() ? format : -1);
    subdivide_->setChecked(c.subdivide);
    if (QAbstractButton* radio = mode_->button(static_cast<int>(c.subdivideMode))) radio->setChecked(true);
    slices_->setText(toQString(c.subdivideSteps));
    timeStep_->setText(toQString(c.subdivideTimeStep));
}

void ScriptWindow::setControlEnabled(ScriptControl c, bool enabled) { control(c)->setEnabled(enabled); }

void ScriptWindow::focus(ScriptControl c) { control(c)->setFocus(Qt::OtherFocusReason); }

void ScriptWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (firstWithExtension(droppedPaths(event->mimeData()), ".lws")) event->acceptProposedAction();
}

void ScriptWindow::dropEvent(QDropEvent* event) {
    if (dropScene(values_, *this, droppedPaths(event->mimeData()))) event->acceptProposedAction();
}

}  // namespace vx::ui
