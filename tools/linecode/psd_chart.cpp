#include "tools/linecode/psd_chart.h"

#include "plot/chart_model.h"
#include "workbench/chart_presses.h"

#include <QFontMetrics>
#include <QPainter>

#include <vector>

namespace {

constexpr int kLegendRow = 16;
constexpr int kLegendPadding = 4;
constexpr int kLegendSample = 22; // the drawn sample of a line before its text

struct LegendEntry {
    QString text;
    Colour colour;
    bool spike;
};

std::vector<LegendEntry> LegendOf(const MeasuredSpectrum* spectrum, PsdPictureContent content,
                                  const QLocale& locale) {
    std::vector<LegendEntry> entries;
    if (content.model)
        entries.push_back({QStringLiteral("кривая стенда (кнопка «Спектр»)"), clRed, false});
    if (content.measured) {
        const QString bits =
            spectrum ? locale.toString(static_cast<qulonglong>(spectrum->bits)) : QString();
        entries.push_back({QStringLiteral("измеренный спектр, %1 случайных бит").arg(bits),
                           kMeasuredColour, false});
        if (!spectrum || !spectrum->lines.empty())
            entries.push_back({QStringLiteral("дискретная составляющая (число — её мощность)"),
                               kLineColour, true});
    }
    return entries;
}

int LegendHeight(std::size_t entries) {
    return static_cast<int>(entries) * kLegendRow + 2 * kLegendPadding;
}

// The designed chart's captions keep to the corner they were laid out near
// when the chart is drawn at another size.
void AnchorCaptions(TCustomChart& chart, QSize designed, QSize size) {
    for (TChartCaption& c : chart.Captions) {
        if (c.Left > designed.width() / 2)
            c.Left -= designed.width() - size.width();
        if (c.Top > designed.height() / 2)
            c.Top -= designed.height() - size.height();
    }
}

void FillChart(TCustomChart& chart, LineCode code, const MeasuredSpectrum& spectrum,
               PsdPictureContent content, QSize size) {
    ApplyDesignedChart(chart, SpectrumChartOf(code));
    AnchorCaptions(chart, DesignedSizeOf(SpectrumChartOf(code)), size);
    if (content.model)
        PressSpectrum(chart, code);
    if (!content.measured)
        return;
    TLineSeries& measured = *chart.AddSeries<TLineSeries>();
    measured.SeriesColor = kMeasuredColour;
    measured.Pointer.Visible = false;
    for (const PsdPoint& p : spectrum.points)
        measured.AddPoint(p.x, p.y, QString(), kMeasuredColour);
    if (spectrum.lines.empty())
        return;
    // A line carries power, not density: its spike stands as high as the
    // area it would add under the curve, on the curve's scale.
    TBarSeries& lines = *chart.AddSeries<TBarSeries>();
    lines.SeriesColor = kLineColour;
    lines.MultiBar = mbNone;
    lines.SetBarWidthPercent(1);
    lines.BarPen.Color = kLineColour;
    lines.Marks.Visible = true;
    lines.Marks.BackColor = clWhite;
    lines.Marks.Font = TChartFont{QStringLiteral("Arial"), 11, clBlack, false};
    lines.Marks.Arrow.Color = kLineColour;
    for (const SpectralLine& line : spectrum.lines)
        lines.AddPoint(line.x, spectrum.scale * line.power, QString(), kLineColour);
}

} // namespace

QSize PsdPictureSize(QSize chartSize, PsdPictureContent content) {
    // The legend's rows do not depend on the numbers, only on what is shown;
    // a picture with lines has one row more, so its size is the largest.
    return {chartSize.width(),
            chartSize.height() + LegendHeight(LegendOf(nullptr, content, QLocale()).size())};
}

void PaintPsdPicture(QPainter& painter, LineCode code, const MeasuredSpectrum& spectrum,
                     QSize chartSize, PsdPictureContent content,
                     const ChartLayoutOptions& options) {
    TCustomChart chart;
    FillChart(chart, code, spectrum, content, chartSize);
    painter.save();
    PaintScene(painter, LayoutChart(chart, chartSize, options));
    painter.restore();

    const std::vector<LegendEntry> entries = LegendOf(&spectrum, content, options.locale);
    const QSize size = PsdPictureSize(chartSize, content);
    const QRect strip(0, chartSize.height(), size.width(), size.height() - chartSize.height());
    painter.save();
    painter.fillRect(strip, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFont font = ToQFont(TChartFont{QStringLiteral("Arial"), 11, clBlack, false});
    painter.setFont(font);
    const QFontMetrics fm(font);
    int y = strip.top() + kLegendPadding;
    for (const LegendEntry& e : entries) {
        const int middle = y + kLegendRow / 2;
        QPen pen(ToQColor(e.colour));
        pen.setWidth(2);
        painter.setPen(pen);
        if (e.spike)
            painter.drawLine(kLegendPadding + kLegendSample / 2, y + 2,
                             kLegendPadding + kLegendSample / 2, y + kLegendRow - 2);
        else
            painter.drawLine(kLegendPadding + 2, middle, kLegendPadding + kLegendSample - 2,
                             middle);
        painter.setPen(Qt::black);
        const QRect text(kLegendPadding + kLegendSample + 4, y,
                         strip.width() - kLegendSample - 3 * kLegendPadding, kLegendRow);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(e.text, Qt::ElideRight, text.width()));
        y += kLegendRow;
    }
    painter.restore();
}

QImage RenderPsdPicture(LineCode code, const MeasuredSpectrum& spectrum, QSize chartSize,
                        PsdPictureContent content, const ChartLayoutOptions& options) {
    QImage image(PsdPictureSize(chartSize, content), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPsdPicture(painter, code, spectrum, chartSize, content, options);
    return image;
}
