#include "ui/qt/main_window.h"

#include <iterator>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/qt/about_box.h"
#include "ui/qt/control_help.h"
#include "ui/qt/hints_window.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/preview_window.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/script_window.h"
#include "ui/qt/widget_builders.h"

namespace vx::ui {

namespace {

// In the order of ModelType, whose values are the buttons' ids.
constexpr const char* kModelTypeCaptions[] = {
    QT_TRANSLATE_NOOP("vx::ui::MainWindow", "&Spacecraft, Aircraft (+Y to -Z, +X to +Y)"),
    QT_TRANSLATE_NOOP("vx::ui::MainWindow", "&Ground Vehicle (+Y to +Z, +X to -Y)"),
    QT_TRANSLATE_NOOP("vx::ui::MainWindow", "&Facility (+Y to +Z)"),
    QT_TRANSLATE_NOOP("vx::ui::MainWindow", "&None"),
};

QLabel* iconLabel(const QIcon& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(32, 32));
    return label;
}

}  // namespace

MainWindow::MainWindow(std::string_view argumentText, QWidget* parent)
    : QDialog(parent), dialog_(startMainDialog(argumentText)) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headingRow());
    layout->addLayout(optionRow());
    layout->addLayout(fileRows());
    layout->addLayout(actionRow());
    layout->addWidget(modelTypeBox());
    layout->addLayout(buttonRow());
    applyControlHelp(*this, {kMainControlHelp, kMainControlHelpCount});
    setAcceptDrops(true);
    initMainDialog(dialog_, *this);
    // Wider path boxes help with long paths; more height only spreads the
    // controls apart.
    setMaximumHeight(sizeHint().height());
}

QLayout* MainWindow::headingRow() {
    auto* row = new QHBoxLayout;
    row->addWidget(iconLabel(objectIcon(), this));
    row->addWidget(boldLabel(translated(kMainHeading), this), 1, Qt::AlignCenter);
    row->addWidget(iconLabel(programIcon(), this));
    return row;
}

QLayout* MainWindow::optionRow() {
    auto* about = pushButton(tr("&About..."), "aboutButton", this);
    auto* hints = pushButton(tr("&Hints..."), "hintsButton", this);
    sortLayers_ = checkBox(tr("Sort &Layers"), "sortLayersCheck", this);
    allImageFormats_ = checkBox(tr("All I&mage formats"), "allImageFormatsCheck", this);
    connect(about, &QPushButton::clicked, this, [this] { showAbout(); });
    connect(hints, &QPushButton::clicked, this, [this] { showHints(); });
    auto* row = new QHBoxLayout;
    row->addWidget(about);
    row->addWidget(hints);
    row->addStretch(1);
    row->addWidget(sortLayers_);
    row->addWidget(allImageFormats_);
    return row;
}

QLayout* MainWindow::fileRows() {
    auto* inputLabel = new QLabel(tr("&Input LWO file:"), this);
    auto* inputBrowse = pushButton(tr("Browse"), "inputBrowseButton", this);
    inputEdit_ = lineEdit("inputEdit", this);
    outputLabel_ = new QLabel(tr("&Output MDL file:"), this);
    outputBrowse_ = pushButton(tr("Browse"), "outputBrowseButton", this);
    outputEdit_ = lineEdit("outputEdit", this);
    inputEdit_->setMinimumWidth(360);
    inputEdit_->installEventFilter(this);
    connect(inputBrowse, &QPushButton::clicked, this, [this] { browseInput(dialog_, *this); });
    connect(outputBrowse_, &QPushButton::clicked, this, [this] { browseOutput(dialog_, *this); });
    auto* grid = new QGridLayout;
    addPathRows(grid, 0, 2, inputLabel, inputBrowse, inputEdit_, Qt::AlignRight);
    addPathRows(grid, 2, 2, outputLabel_, outputBrowse_, outputEdit_, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    return grid;
}

QLayout* MainWindow::actionRow() {
    convert_ = checkBox(tr("&Convert"), "convertCheck", this);
    articulate_ = checkBox(tr("A&rticulate"), "articulateCheck", this);
    details_ = pushButton(tr("&Details..."), "detailsButton", this);
    connect(convert_, &QCheckBox::clicked, this, [this] { convertClicked(dialog_, *this); });
    connect(articulate_, &QCheckBox::clicked, this, [this] { articulateClicked(dialog_, *this); });
    connect(details_, &QPushButton::clicked, this, [this] { openScriptDialog(dialog_, *this); });
    auto* row = new QHBoxLayout;
    row->addWidget(convert_);
    row->addWidget(articulate_);
    row->addWidget(details_);
    row->addStretch(1);
    return row;
}

QWidget* MainWindow::modelTypeBox() {
    auto* box = new QGroupBox(tr("Model Type (for axis rotation, if desired)"), this);
    auto* column = new QVBoxLayout(box);
    modelType_ = new QButtonGroup(this);
    for (int i = 0; i < int(std::size(kModelTypeCaptions)); ++i) {
        const QString name = QStringLiteral("modelType%1").arg(i);
        column->addWidget(radioButton(modelType_, i, tr(kModelTypeCaptions[i]), name, box));
    }
    return box;
}

QLayout* MainWindow::buttonRow() {
    auto* ok = defaultButton(tr("OK"), "okButton", this);
    auto* apply = pushButton(tr("A&pply"), "applyButton", this);
    auto* cancel = pushButton(tr("Cancel"), "cancelButton", this);
    preview_ = pushButton(tr("Preview..."), "previewButton", this);
    // No portable window menu exists, so its entries live in a small menu
    // button and in the window's context menu.
    menuButton_ = new QToolButton(this);
    menuButton_->setObjectName(QStringLiteral("windowMenuButton"));
    menuButton_->setText(tr("\u2261"));
    menuButton_->setToolTip(tr("More"));
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    menuButton_->setMenu(new QMenu(menuButton_));
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ok, &QPushButton::clicked, this, [this] { pressOk(dialog_, *this); });
    connect(apply, &QPushButton::clicked, this, [this] { pressApply(dialog_, *this); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(preview_, &QPushButton::clicked, this, [this] { previewClicked(dialog_, *this); });
    auto* row = new QHBoxLayout;
    row->addWidget(menuButton_);
    row->addWidget(preview_);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(apply);
    row->addWidget(cancel);
    return row;
}

// The box loses the focus while the window is taken apart; by then there is
// no dialog left to follow it.
MainWindow::~MainWindow() { inputEdit_->removeEventFilter(this); }

// Leaving the input box follows the new name.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == inputEdit_ && isFocusLeft(event)) inputLostFocus(dialog_, *this);
    return QDialog::eventFilter(watched, event);
}

QWidget* MainWindow::control(MainControl c) const {
    switch (c) {
        case MainControl::SortLayers: return sortLayers_;
        case MainControl::AllImageFormats: return allImageFormats_;
        case MainControl::Convert: return convert_;
        case MainControl::Articulate: return articulate_;
        case MainControl::Details: return details_;
        case MainControl::OutputLabel: return outputLabel_;
        case MainControl::OutputBrowse: return outputBrowse_;
        case MainControl::OutputEdit: return outputEdit_;
        case MainControl::Preview: return preview_;
    }
    return nullptr;
}

void MainWindow::report(const Message& message) {
    // The box waits for the user, so it must not show the wait cursor.
    if (busy_) QApplication::restoreOverrideCursor();
    showMessageBox(this, message);
    if (busy_) QApplication::setOverrideCursor(Qt::WaitCursor);
}

std::optional<std::string> MainWindow::pickOpenFile(const FilePickerRequest& request) {
    return pickFile(this, request, false);
}

std::optional<std::string> MainWindow::pickSaveFile(const FilePickerRequest& request) {
    return pickFile(this, request, true);
}

void MainWindow::readControls(ConversionJob& f) {
    if (modelType_->checkedId() >= 0) f.modelType = static_cast<ModelType>(modelType_->checkedId());
    f.inputPath = qStringToPath(inputEdit_->text());
    f.outputPath = qStringToPath(outputEdit_->text());
    f.convert = convert_->isChecked();
    f.articulate = articulate_->isChecked();
    f.sortLayers = sortLayers_->isChecked();
    f.allImageFormats = allImageFormats_->isChecked();
}

void MainWindow::showFields(const ConversionJob& f) {
    if (QAbstractButton* radio = modelType_->button(static_cast<int>(f.modelType))) radio->setChecked(true);
    inputEdit_->setText(pathToQString(f.inputPath));
    outputEdit_->setText(pathToQString(f.outputPath));
    convert_->setChecked(f.convert);
    articulate_->setChecked(f.articulate);
    sortLayers_->setChecked(f.sortLayers);
    allImageFormats_->setChecked(f.allImageFormats);
}

void MainWindow::setShown(MainControl c, bool shown) { control(c)->setVisible(shown); }

void MainWindow::setControlEnabled(MainControl c, bool enabled) { control(c)->setEnabled(enabled); }

void MainWindow::refreshControls() { update(); }

void MainWindow::setTitle(std::string_view title) { setWindowTitle(translated(title)); }

void MainWindow::setProgramIcon() { setWindowIcon(programIcon()); }

void MainWindow::addWindowMenuEntries(std::string_view advancedOptions, std::string_view about) {
    QMenu* menu = menuButton_->menu();
    QAction* advanced = menu->addAction(translated(advancedOptions));
    advanced->setObjectName(QStringLiteral("advancedOptionsAction"));
    menu->addSeparator();
    QAction* aboutAction = menu->addAction(translated(about));
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addActions({advanced, separator, aboutAction});
    connect(advanced, &QAction::triggered, this, [this] { showAdvancedOptions(dialog_, *this); });
    connect(aboutAction, &QAction::triggered, this, [this] { showAbout(); });
}

void MainWindow::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool MainWindow::runScriptDialog(ScriptDialog& values) {
    ScriptWindow window(values, this);
    if (window.exec() != QDialog::Accepted) return false;
    values = window.values();
    return true;
}

void MainWindow::runPreviewWindow(const std::string& mdlPath) {
    PreviewDialog preview;
    setBusy(true);
    const int status = openPreview(mdlPath, preview, *this);
    setBusy(false);
    if (status != 0) return;
    PreviewWindow window(std::move(preview), this);
    window.exec();
}

void MainWindow::closeDialog() { accept(); }

void MainWindow::showAbout() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::showHints() {
    HintsWindow window(this);
    window.exec();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (firstWithExtension(droppedPaths(event->mimeData()), ".lwo")) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (dropInput(dialog_, *this, droppedPaths(event->mimeData()))) event->acceptProposedAction();
}

}  // namespace vx::ui
