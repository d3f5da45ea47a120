#include "ui/qt/preview_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/qt/control_help.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/widget_builders.h"

namespace vx::ui {

PreviewWindow::PreviewWindow(PreviewDialog dialog, QWidget* parent) : QDialog(parent), dialog_(std::move(dialog)) {
    setWindowTitle(translated(kPreviewTitle));
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("previewPicture"));
    picture_->setFixedSize(dialog_.size, dialog_.size);
    auto* close = defaultButton(tr("Close"), "closeButton", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* side = new QVBoxLayout;
    side->addLayout(viewRow());
    side->addWidget(sliderList(), 1);
    side->addWidget(close, 0, Qt::AlignRight);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture_);
    layout->addLayout(side);
    applyControlHelp(*this, {kPreviewControlHelp, kPreviewControlHelpCount});
    redrawPreview(dialog_, *this);
}

QLayout* PreviewWindow::viewRow() {
    view_ = new QComboBox(this);
    view_->setObjectName(QStringLiteral("viewCombo"));
    for (const ViewKind v : kSheetViews) view_->addItem(translated(viewName(v)), static_cast<int>(v));
    view_->setCurrentIndex(view_->findData(static_cast<int>(dialog_.view)));
    connect(view_, &QComboBox::currentIndexChanged, this, [this](int) {
        viewChosen(dialog_, static_cast<ViewKind>(view_->currentData().toInt()), *this);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("View:"), this));
    row->addWidget(view_, 1);
    return row;
}

// One row a line: its name, the slider within its range, and its value.
QWidget* PreviewWindow::sliderList() {
    auto* list = new QWidget;
    auto* form = new QFormLayout(list);
    if (dialog_.sliders.empty()) form->addRow(new QLabel(tr("The model has no articulations."), list));
    for (std::size_t i = 0; i < dialog_.sliders.size(); ++i) {
        auto* slider = new QSlider(Qt::Horizontal, list);
        slider->setObjectName(QStringLiteral("poseSlider%1").arg(i));
        slider->setRange(0, kSliderSteps);
        slider->setValue(dialog_.sliders[i].position);
        slider->setMinimumWidth(180);
        auto* value = new QLabel(QString::number(sliderValue(dialog_.sliders[i]), 'g', 4), list);
        value->setMinimumWidth(48);
        connect(slider, &QSlider::valueChanged, this, [this, i, value](int position) {
            sliderMoved(dialog_, i, position, *this);
            value->setText(QString::number(sliderValue(dialog_.sliders[i]), 'g', 4));
        });
        auto* row = new QHBoxLayout;
        row->addWidget(slider, 1);
        row->addWidget(value);
        form->addRow(toQString(dialog_.sliders[i].key), row);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(340);
    return scroll;
}

void PreviewWindow::report(const Message& message) { showMessageBox(this, message); }

void PreviewWindow::showPicture(const RgbImage& picture) {
    const QImage image(picture.pixels.data(), picture.width, picture.height, picture.width * 3, QImage::Format_RGB888);
    picture_->setPixmap(QPixmap::fromImage(image));  // a deep copy: the picture may go
}

}  // namespace vx::ui
