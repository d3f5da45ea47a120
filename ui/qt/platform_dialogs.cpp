#include "ui/qt/platform_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QMessageBox>
#include <QPushButton>

namespace vx::ui {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString pathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string qStringToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QStringList qtNameFilters(std::string_view filterList) {
    QStringList parts = toQString(filterList).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;  // the list's closing "|"
        QString description = parts[i];
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0) description = description.left(open).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const Message& message) {
    // A LightWave 5 warning ends in its own line break, which would only
    // add an empty line under the text.
    std::string_view text = message.text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const QMessageBox::Icon icon = message.severity == Severity::Error     ? QMessageBox::Critical
                                   : message.severity == Severity::Warning ? QMessageBox::Warning
                                                                           : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(icon, QStringLiteral("Vertexion"), toQString(text), QMessageBox::Ok,
                                             parent);
    QStringList details;
    if (!message.path.empty()) details << QStringLiteral("File: ") + pathToQString(std::string(message.path));
    if (!message.reason.empty()) details << QStringLiteral("Reason: ") + toQString(message.reason);
    box->setInformativeText(details.join(QLatin1Char('\n')));
    return box;
}

void showMessageBox(QWidget* parent, const Message& message) { messageBox(parent, message)->exec(); }

QPushButton* pushButton(const char* caption, const char* objectName, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

bool isFocusLeft(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

std::optional<std::string> pickFile(QWidget* parent, const FilePickerRequest& request, bool save) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The conversion replaces the file safely; the user was not asked before either.
    if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(qtNameFilters(request.filters));
    QString suffix = toQString(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (!request.proposedName.empty()) {
        const QFileInfo proposed(pathToQString(request.proposedName));
        if (proposed.absoluteDir().exists()) dialog.setDirectory(proposed.absoluteDir());
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return qStringToPath(dialog.selectedFiles().constFirst());
}

}  // namespace vx::ui
