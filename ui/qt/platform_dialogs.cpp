#include "ui/qt/platform_dialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QMessageBox>

namespace vx::ui {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString pathToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string qStringToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString translated(std::string_view text) {
    // A looked-up text ends at its first NUL; one that holds a NUL was never
    // a caption to translate.
    if (text.find('\0') != std::string_view::npos) return toQString(text);
    return QCoreApplication::translate("vx::ui", QByteArray(text.data(), qsizetype(text.size())).constData());
}

QStringList qtNameFilters(const FileFilters& filters) {
    QStringList names;
    for (const FileFilter& f : filters) {
        QStringList patterns;
        for (const std::string& p : f.patterns) patterns << toQString(p);
        names << translated(f.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return names;
}

std::unique_ptr<QMessageBox> messageBox(QWidget* parent, const Message& message) {
    // A LightWave 5 warning ends in its own line break, which would only
    // add an empty line under the text.
    std::string_view text = message.text;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    const QMessageBox::Icon icon = message.severity == Severity::Error     ? QMessageBox::Critical
                                   : message.severity == Severity::Warning ? QMessageBox::Warning
                                                                           : QMessageBox::Information;
    auto box = std::make_unique<QMessageBox>(icon, QCoreApplication::translate("vx::ui::messageBox", "Vertexion"),
                                             translated(text), QMessageBox::Ok, parent);
    QStringList details;
    if (!message.path.empty())
        details << QCoreApplication::translate("vx::ui::messageBox", "File: %1")
                       .arg(pathToQString(std::string(message.path)));
    // The system's reason comes in the system's language already.
    if (!message.reason.empty())
        details << QCoreApplication::translate("vx::ui::messageBox", "Reason: %1").arg(toQString(message.reason));
    box->setInformativeText(details.join(QLatin1Char('\n')));
    return box;
}

void showMessageBox(QWidget* parent, const Message& message) { messageBox(parent, message)->exec(); }

bool isFocusLeft(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

std::optional<std::string> pickFile(QWidget* parent, const FilePickerRequest& request, bool save) {
    QFileDialog dialog(parent);
    if (!request.title.empty()) dialog.setWindowTitle(translated(request.title));
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
