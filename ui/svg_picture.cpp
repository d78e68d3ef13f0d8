#include "ui/svg_picture.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

SvgPicture::SvgPicture(QWidget* parent) : QLabel(parent) {}

void SvgPicture::setPicture(const QString& path) {
    m_picture = path;
    m_renderer.load(path);
    m_renderedDensity = 0;
    Render();
}

void SvgPicture::Render() {
    if (!m_renderer.isValid()) {
        if (!pixmap().isNull())
            setPixmap(QPixmap());
        return;
    }
    const QSize size = hasScaledContents() ? contentsRect().size() : m_renderer.defaultSize();
    const qreal density = devicePixelRatioF();
    if (density == m_renderedDensity && size == m_renderedSize)
        return;
    m_renderedDensity = density;
    m_renderedSize = size;
    QPixmap picture(static_cast<int>(std::ceil(size.width() * density)),
                    static_cast<int>(std::ceil(size.height() * density)));
    picture.setDevicePixelRatio(density);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    setPixmap(picture);
}

void SvgPicture::paintEvent(QPaintEvent* event) {
    // The window may have moved to a screen of another density since the
    // picture was drawn; a new pixmap schedules one more paint.
    Render();
    QLabel::paintEvent(event);
}

void SvgPicture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (hasScaledContents())
        Render();
}
