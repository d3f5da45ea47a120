#include "ui/qt/widget_builders.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vx::ui {

QPushButton* pushButton(const QString& caption, const char* objectName, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

QPushButton* defaultButton(const QString& caption, const char* objectName, QWidget* parent) {
    QPushButton* b = pushButton(caption, objectName, parent);
    b->setDefault(true);
    b->setAutoDefault(true);
    return b;
}

QCheckBox* checkBox(const QString& caption, const char* objectName, QWidget* parent) {
    auto* b = new QCheckBox(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
}

QLineEdit* lineEdit(const char* objectName, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    return e;
}

QRadioButton* radioButton(QButtonGroup* group, int id, const QString& caption, const QString& objectName,
                          QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(objectName);
    group->addButton(radio, id);
    return radio;
}

QLabel* boldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void addPathRows(QGridLayout* grid, int row, int columns, QLabel* label, QPushButton* browse, QLineEdit* edit,
                 Qt::Alignment browseAlignment) {
    label->setBuddy(edit);  // the label's mnemonic reaches the path
    grid->addWidget(label, row, 0);
    grid->addWidget(browse, row, columns - 1, browseAlignment);
    grid->addWidget(edit, row + 1, 0, 1, columns);
}

}  // namespace vx::ui
