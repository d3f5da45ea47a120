// Writes pictures of the dialogs for the documentation:
//   vertexion-screenshots DIRECTORY
// Run it with QT_QPA_PLATFORM=offscreen to need no display.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextStream>

#include "ui/qt/hints_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/platform_dialogs.h"
#include "ui/qt/script_window.h"

namespace {

bool save(QWidget& widget, const QDir& dir, const QString& name) {
    widget.show();
    widget.adjustSize();
    QApplication::processEvents();
    const QString path = dir.filePath(name);
    if (!widget.grab().save(path)) {
        QTextStream(stderr) << "vertexion-screenshots: cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << path << '\n';
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "Usage: vertexion-screenshots DIRECTORY\n";
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) return 1;

    bool ok = true;
    {
        vx::ui::MainWindow window("/home/modeller/models/ship.lwo");
        ok &= save(window, dir, QStringLiteral("main-dialog.png"));
    }
    {
        // Only the form type is looked at before a run.
        QTemporaryDir scratch;
        const QString object = scratch.filePath(QStringLiteral("ship.lwo"));
        QFile file(object);
        ok &= file.open(QIODevice::WriteOnly) && file.write(QByteArray("FORM\0\0\0\4LWO2", 12)) == 12;
        file.close();
        vx::ui::MainWindow window(vx::ui::qStringToPath(object));
        ok &= save(window, dir, QStringLiteral("main-dialog-lwo2.png"));
    }
    {
        vx::ui::ScriptDialog values;
        values.scenePath = "/home/modeller/anim/dish.lws";
        values.scriptPath = "/home/modeller/anim/dish.sama";
        values.scriptFormat = 0;
        vx::ui::ScriptWindow window(values);
        ok &= save(window, dir, QStringLiteral("script-dialog.png"));
    }
    {
        vx::ui::HintsWindow window;
        ok &= save(window, dir, QStringLiteral("hints-dialog.png"));
    }
    return ok ? 0 : 1;
}
