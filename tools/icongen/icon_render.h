#pragma once

#include <QImage>
#include <QString>

// The picture of an SVG file drawn into `size` × `size` pixels on a
// transparent background, for the icon theme's fixed sizes. A null image when
// the file cannot be read as SVG or `size` is not positive.
QImage RenderIcon(const QString& svgFile, int size);
