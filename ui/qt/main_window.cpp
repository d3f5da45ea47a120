#include "ui/qt/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
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
#include "ui/qt/hints_window.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/script_window.h"

namespace vx::ui {

namespace {

constexpr const char* kModelTypeCaptions[] = {
    "Spacecraft, Aircraft (+Y to -Z, +X to +Y)",
    "Ground Vehicle (+Y to +Z, +X to -Y)",
    "Facility (+Y to +Z)",
    "None",
};

QCheckBox* checkBox(const char* caption, const char* name, QWidget* parent) {
    auto* b = new QCheckBox(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* iconLabel(const QIcon& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(32, 32));
    return label;
}

}  // namespace

MainWindow::MainWindow(std::string_view argumentText, QWidget* parent)
    : QDialog(parent), dialog_(startMainDialog(argumentText)) {
    auto* heading = new QLabel(toQString(kMainHeading), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto* about = pushButton("About...", "aboutButton", this);
    auto* hints = pushButton("Hints...", "hintsButton", this);
    sortLayers_ = checkBox("Sort Layers", "sortLayersCheck", this);
    allImageFormats_ = checkBox("All Image formats", "allImageFormatsCheck", this);
    auto* inputLabel = new QLabel(QStringLiteral("Input LWO file:"), this);
    auto* inputBrowse = pushButton("Browse", "inputBrowseButton", this);
    inputEdit_ = new QLineEdit(this);
    inputEdit_->setObjectName(QStringLiteral("inputEdit"));
    outputLabel_ = new QLabel(QStringLiteral("Output MDL file:"), this);
    outputBrowse_ = pushButton("Browse", "outputBrowseButton", this);
    outputEdit_ = new QLineEdit(this);
    outputEdit_->setObjectName(QStringLiteral("outputEdit"));
    convert_ = checkBox("Convert", "convertCheck", this);
    articulate_ = checkBox("Articulate", "articulateCheck", this);
    details_ = pushButton("Details...", "detailsButton", this);

    auto* typeBox = new QGroupBox(QStringLiteral("Model Type (for axis rotation, if desired)"), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    modelType_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kModelTypeCaptions[i]), typeBox);
        radio->setObjectName(QStringLiteral("modelType%1").arg(i));
        modelType_->addButton(radio, i);
        typeLayout->addWidget(radio);
    }

    auto* ok = pushButton("OK", "okButton", this);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* apply = pushButton("Apply", "applyButton", this);
    auto* cancel = pushButton("Cancel", "cancelButton", this);
    // No portable window menu exists, so its entries live in a small menu
    // button and in the window's context menu.
    menuButton_ = new QToolButton(this);
    menuButton_->setObjectName(QStringLiteral("windowMenuButton"));
    menuButton_->setText(QStringLiteral("\u2261"));
    menuButton_->setToolTip(QStringLiteral("More"));
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    menuButton_->setMenu(new QMenu(menuButton_));
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(iconLabel(objectIcon(), this));
    headingRow->addWidget(heading, 1, Qt::AlignCenter);
    headingRow->addWidget(iconLabel(programIcon(), this));
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(about);
    topRow->addWidget(hints);
    topRow->addStretch(1);
    topRow->addWidget(sortLayers_);
    topRow->addWidget(allImageFormats_);

    auto* files = new QGridLayout;
    files->addWidget(inputLabel, 0, 0);
    files->addWidget(inputBrowse, 0, 1, Qt::AlignRight);
    files->addWidget(inputEdit_, 1, 0, 1, 2);
    files->addWidget(outputLabel_, 2, 0);
    files->addWidget(outputBrowse_, 2, 1, Qt::AlignRight);
    files->addWidget(outputEdit_, 3, 0, 1, 2);
    files->setColumnStretch(0, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(convert_);
    actions->addWidget(articulate_);
    actions->addWidget(details_);
    actions->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(menuButton_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headingRow);
    layout->addLayout(topRow);
    layout->addLayout(files);
    layout->addLayout(actions);
    layout->addWidget(typeBox);
    layout->addLayout(buttons);
    inputEdit_->setMinimumWidth(360);

    inputEdit_->installEventFilter(this);
    connect(inputBrowse, &QPushButton::clicked, this, [this] { browseInput(dialog_, *this); });
    connect(outputBrowse_, &QPushButton::clicked, this, [this] { browseOutput(dialog_, *this); });
    connect(convert_, &QCheckBox::clicked, this, [this] { convertClicked(dialog_, *this); });
    connect(articulate_, &QCheckBox::clicked, this, [this] { articulateClicked(dialog_, *this); });
    connect(details_, &QPushButton::clicked, this, [this] { openScriptDialog(dialog_, *this); });
    connect(ok, &QPushButton::clicked, this, [this] { pressOk(dialog_, *this); });
    connect(apply, &QPushButton::clicked, this, [this] { pressApply(dialog_, *this); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(about, &QPushButton::clicked, this, [this] { showAbout(); });
    connect(hints, &QPushButton::clicked, this, [this] { showHints(); });

    initMainDialog(dialog_, *this);
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

void MainWindow::setEnabled(MainControl c, bool enabled) { control(c)->setEnabled(enabled); }

void MainWindow::repaint() { update(); }

void MainWindow::setTitle(std::string_view title) { setWindowTitle(toQString(title)); }

void MainWindow::setProgramIcon() { setWindowIcon(programIcon()); }

void MainWindow::addWindowMenuEntries(std::string_view advancedOptions, std::string_view about) {
    QMenu* menu = menuButton_->menu();
    QAction* advanced = menu->addAction(toQString(advancedOptions));
    advanced->setObjectName(QStringLiteral("advancedOptionsAction"));
    menu->addSeparator();
    QAction* aboutAction = menu->addAction(toQString(about));
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

void MainWindow::closeDialog() { accept(); }

void MainWindow::showAbout() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::showHints() {
    HintsWindow window(this);
    window.exec();
}

}  // namespace vx::ui
