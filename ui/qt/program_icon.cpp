#include "ui/qt/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library, whose initialiser the linker would
// otherwise drop; this must stand outside any namespace.
static void initVertexionResources() { Q_INIT_RESOURCE(vertexion); }

namespace vx::ui {

namespace {

QIcon renderedIcon(const QString& resource) {
    initVertexionResources();
    QSvgRenderer renderer(resource);
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon programIcon() { return renderedIcon(QStringLiteral(":/vertexion/vertexion.svg")); }
QIcon objectIcon() { return renderedIcon(QStringLiteral(":/vertexion/lightwave_object.svg")); }

}  // namespace vx::ui
