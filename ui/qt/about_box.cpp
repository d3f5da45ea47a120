#include "ui/qt/about_box.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "core/mdl_text.h"
#include "ui/main_dialog.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/program_icon.h"
#include "ui/qt/widget_builders.h"

namespace vx::ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Vertexion"));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(programIcon().pixmap(64, 64));
    auto* banner = boldLabel(translated(kProgramBanner), this);
    banner->setObjectName(QStringLiteral("aboutBanner"));
    auto* heading = new QLabel(translated(kMainHeading), this);
    auto* versions = new QLabel(translated(kObjectVersions), this);
    versions->setObjectName(QStringLiteral("aboutVersions"));
    versions->setWordWrap(true);
    auto* licence = new QLabel(tr("Published under the MIT licence."), this);
    licence->setObjectName(QStringLiteral("aboutLicence"));
    auto* ok = defaultButton(tr("OK"), "okButton", this);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(banner, 0, 1);
    layout->addWidget(heading, 1, 1);
    layout->addWidget(versions, 2, 1);
    layout->addWidget(licence, 3, 1);
    layout->addWidget(ok, 4, 0, 1, 2, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace vx::ui
