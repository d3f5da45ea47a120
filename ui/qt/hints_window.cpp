#include "ui/qt/hints_window.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/hints.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/widget_builders.h"

namespace vx::ui {

HintsWindow::HintsWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(translated(kHintsTitle));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("hintsText"));
    // Read-only, but still scrolled and selected for copying.
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setMinimumSize(520, 360);
    auto* ok = defaultButton(tr("OK"), "okButton", this);

    topics_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout;
    for (int i = 0; i < int(kHintsTopics.size()); ++i)
        row->addWidget(radioButton(topics_, i, translated(kHintsTopics[i]), QStringLiteral("topic%1").arg(i), this));
    row->addStretch(1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(row);

    connect(topics_, &QButtonGroup::idClicked, this, [this](int id) { showTopic(id); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    topics_->button(kFirstHintsTopic)->setChecked(true);
    showTopic(kFirstHintsTopic);
}

void HintsWindow::showTopic(int topic) { text_->setPlainText(translated(hintsText(topic))); }

}  // namespace vx::ui
