#include "tools/icongen/icon_render.h"

#include <QPainter>
#include <QSvgRenderer>

QImage RenderIcon(const QString& svgFile, int size) {
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid() || size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // The whole view box, stretched to the square: the artwork is drawn square.
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    // PNG stores straight alpha; converting here keeps the edges exact.
    return image.convertToFormat(QImage::Format_ARGB32);
}
