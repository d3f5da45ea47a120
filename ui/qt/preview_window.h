#pragma once
// The preview window's widgets, bound to its logic: the drawing, a choice of
// view and a slider for each articulation line.

#include <string>

#include <QDialog>

#include "ui/preview_dialog.h"

class QComboBox;
class QLabel;
class QLayout;

namespace vx::ui {

class PreviewWindow : public QDialog, public PreviewPlatform {
    Q_OBJECT

public:
    // `dialog` has its model read already (see openPreview).
    explicit PreviewWindow(PreviewDialog dialog, QWidget* parent = nullptr);

    void report(const Message& message) override;
    void showPicture(const RgbImage& picture) override;

private:
    QLayout* viewRow();
    QWidget* sliderList();

    PreviewDialog dialog_;
    QLabel* picture_;
    QComboBox* view_;
};

}  // namespace vx::ui
