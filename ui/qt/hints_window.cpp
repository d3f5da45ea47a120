#include "ui/qt/hints_window.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/hints.h"
#include "ui/qt/platform_dialogs.h"

namespace vx::ui {

HintsWindow::HintsWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(toQString(kHintsTitle));
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("hintsText"));
    // Read-only, but still scrolled and selected for copying.
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setMinimumSize(520, 360);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);

    topics_ = new QButtonGroup(this);
    auto* row = new QHBoxLayout;
    for (int i = 0; i < int(kHintsTopics.size()); ++i) {
        auto* radio = new QRadioButton(toQString(kHintsTopics[i]), this);
        radio->setObjectName(QStringLiteral("topic%1").arg(i));
        topics_->addButton(radio, i);
        row->addWidget(radio);
    }
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

void HintsWindow::showTopic(int topic) { text_->setPlainText(toQString(hintsText(topic))); }

}  // namespace vx::ui
