#pragma once

#include <QLabel>
#include <QSize>
#include <QString>
#include <QSvgRenderer>

// A picture of the layouts drawn from its SVG at the pixel density of the
// screen it is on, so that it stays sharp at any display scale. Like a
// label with a pixmap it shows the picture at its own size at the top left,
// or stretched over the label when its contents are scaled; the label's
// pixmap is the picture as last drawn. Set in a layout as the property
// "picture" (a resource path) of a label promoted to SvgPicture.
class SvgPicture : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)
public:
    explicit SvgPicture(QWidget* parent = nullptr);

    QString picture() const { return m_picture; }
    // Loads the SVG at `path`; a picture that does not load shows nothing.
    void setPicture(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Draws the picture again when the density or the stretched size changed.
    void Render();

    QString m_picture;
    QSvgRenderer m_renderer;
    qreal m_renderedDensity = 0;
    QSize m_renderedSize;
};
