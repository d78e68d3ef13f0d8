#include "plot/chart_layout.h"

#include <QPainter>
#include <QPen>

namespace {

QPen ToQPen(const ScenePen& p) {
    QPen pen(p.colour);
    pen.setWidth(p.width);
    // A dotted pen's dots end where they end: square caps would stretch each
    // dot by half the pen's width on both sides, which on a screen of more
    // than one pixel a point closes the gaps and draws the dotted line solid.
    if (p.width > 1 || p.dotted)
        pen.setCapStyle(Qt::FlatCap);
    if (p.dotted)
        pen.setDashPattern({1.0, 1.0});
    return pen;
}

} // namespace

void PaintScene(QPainter& painter, const ChartScene& scene) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const SceneItem& item : scene.items) {
        switch (item.shape) {
        case SceneShape::FillRect:
            painter.fillRect(item.rect, item.brush);
            break;
        case SceneShape::Rect:
            if (item.filled)
                painter.fillRect(item.rect, item.brush);
            if (item.pen.visible && item.rect.width() > 0 && item.rect.height() > 0) {
                painter.setPen(ToQPen(item.pen));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
            }
            break;
        case SceneShape::Line:
            if (item.pen.visible) {
                painter.setPen(ToQPen(item.pen));
                painter.drawLine(item.line);
            }
            break;
        case SceneShape::Segments: {
            if (!item.pen.visible)
                break;
            QPen pen = ToQPen(item.pen);
            QRgb current = 0;
            bool set = false;
            for (std::size_t k = 1; k < item.points.size(); ++k) {
                const QRgb c = item.colours[k].rgb();
                if (!set || c != current) {
                    pen.setColor(item.colours[k]);
                    painter.setPen(pen);
                    current = c;
                    set = true;
                }
                painter.drawLine(item.points[k - 1], item.points[k]);
            }
            break;
        }
        case SceneShape::Text:
            painter.setFont(item.font);
            painter.setPen(item.pen.colour);
            painter.drawText(item.rect, item.alignment | Qt::TextDontClip, item.text);
            break;
        case SceneShape::Clip:
            painter.setClipRect(item.rect);
            break;
        case SceneShape::Unclip:
            painter.setClipping(false);
            break;
        }
    }
}

QImage RenderChart(const TCustomChart& chart, QSize size, const ChartLayoutOptions& options) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintScene(painter, LayoutChart(chart, size, options));
    return image;
}
