#pragma once
#include <QDialog>

class QButtonGroup;
class QPlainTextEdit;

namespace vx::ui {

// "Hints for Lightwave Object Conversion": one of three help texts, chosen
// with radio buttons. Every opening starts on the first topic.
class HintsWindow : public QDialog {
    Q_OBJECT

public:
    explicit HintsWindow(QWidget* parent = nullptr);

private:
    void showTopic(int topic);

    QPlainTextEdit* text_;
    QButtonGroup* topics_;
};

}  // namespace vx::ui
