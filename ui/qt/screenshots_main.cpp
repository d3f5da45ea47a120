// Writes pictures of the dialogs for the documentation:
//   vertexion-screenshots DIRECTORY
// Run it with QT_QPA_PLATFORM=offscreen to need no display.

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextStream>

#include "ui/qt/hints_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/preview_window.h"
#include "ui/qt/script_window.h"

namespace {

// A model that cannot be read says why on standard error.
class ErrorPrinter final : public vx::MessageSink {
public:
    void report(const vx::Message& m) override {
        QTextStream(stderr) << "vertexion-screenshots: " << QString::fromStdString(std::string(m.text)) << '\n';
    }
};

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

// The window with the tooltip of its child `controlName` drawn where the
// toolkit shows it, below the control.
bool saveWithTooltip(QWidget& window, const char* controlName, const QDir& dir, const QString& name) {
    window.show();
    window.adjustSize();
    QApplication::processEvents();
    auto* control = window.findChild<QWidget*>(QString::fromLatin1(controlName));
    if (!control) return false;
    const QPoint at = control->mapTo(&window, QPoint(control->width() / 2, control->height() + 2));
    QToolTip::showText(control->mapToGlobal(QPoint(control->width() / 2, control->height() + 2)), control->toolTip(),
                       control);
    QApplication::processEvents();
    QPixmap picture = window.grab();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->inherits("QTipLabel") || !top->isVisible()) continue;
        const QPixmap tip = top->grab();
        QPixmap wider(std::max(picture.width(), at.x() + tip.width()), std::max(picture.height(), at.y() + tip.height()));
        wider.fill(Qt::white);
        QPainter painter(&wider);
        painter.drawPixmap(0, 0, picture);
        painter.drawPixmap(at, tip);
        painter.end();
        picture = wider;
    }
    QToolTip::hideText();
    const QString path = dir.filePath(name);
    if (!picture.save(path)) return false;
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
    const QDir dir(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    if (!QDir().mkpath(dir.path())) return 1;

    // Both pictures of the main dialog show the object by the same short
    // name: in a scratch directory it is a LightWave 6+ object, and only its
    // form type is looked at before a run.
    QTemporaryDir scratch;
    const QString previous = QDir::currentPath();
    bool ok = scratch.isValid();
    {
        vx::ui::MainWindow window("ship.lwo");
        ok &= save(window, dir, QStringLiteral("main-dialog.png"));
    }
    {
        QFile file(scratch.filePath(QStringLiteral("ship.lwo")));
        ok &= file.open(QIODevice::WriteOnly) && file.write(QByteArray("FORM\0\0\0\4LWO2", 12)) == 12;
        file.close();
        QDir::setCurrent(scratch.path());
        vx::ui::MainWindow window("ship.lwo");
        ok &= save(window, dir, QStringLiteral("main-dialog-lwo2.png"));
        ok &= saveWithTooltip(window, "articulateCheck", dir, QStringLiteral("main-dialog-tooltip.png"));
        QDir::setCurrent(previous);
    }
    {
        vx::ui::ScriptDialog values;
        values.scenePath = "/home/modeller/anim/dish.lws";
        values.scriptPath = "/home/modeller/anim/dish.sama";
        values.scriptFormat = vx::ScriptFormat::Standard;
        vx::ui::ScriptWindow window(values);
        ok &= save(window, dir, QStringLiteral("script-dialog.png"));
    }
    {
        vx::ui::HintsWindow window;
        ok &= save(window, dir, QStringLiteral("hints-dialog.png"));
    }
    {
        // The bundled ship's model, with its dish turned part way.
        vx::ui::PreviewDialog preview;
        ErrorPrinter printer;
        ok &= vx::ui::openPreview(VERTEXION_SOURCE_DIR "/tests/lwo2/golden/ship.mdl", preview, printer) == 0;
        if (preview.sliders.size() > 1) preview.sliders[1].position = vx::ui::kSliderSteps / 4;
        vx::ui::PreviewWindow window(std::move(preview));
        ok &= save(window, dir, QStringLiteral("preview-window.png"));
    }
    return ok ? 0 : 1;
}
