#pragma once
#include <QDialog>

namespace vx::ui {

// "About Vertexion": the program icon and its version banner.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace vx::ui
