#include "tools/linecode/figure_object.h"

#include <QLocale>
#include <QPainter>
#include <QSvgRenderer>

QSizeF FigureObject::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
    return FigureOf(format).size;
}

void FigureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                              const QTextFormat& format) {
    const HandoutFigure& figure = FigureOf(format);
    painter->save();
    if (figure.kind == HandoutFigure::Svg) {
        QSvgRenderer renderer(figure.svg);
        renderer.render(painter, rect);
    } else {
        painter->translate(rect.topLeft());
        painter->setClipRect(QRectF(QPointF(0, 0), rect.size()));
        ChartLayoutOptions options;
        options.locale = QLocale(QLocale::Russian, QLocale::Russia);
        const bool model = figure.kind == HandoutFigure::ModelChart;
        PaintPsdPicture(*painter, figure.code,
                        m_content.spectra[static_cast<std::size_t>(figure.code)], kHandoutChartSize,
                        model ? kModelOnly : kMeasuredOnly, options);
    }
    painter->restore();
}

const HandoutFigure& FigureObject::FigureOf(const QTextFormat& format) const {
    return m_content.figures.at(static_cast<std::size_t>(format.intProperty(kFigureIndex)));
}
