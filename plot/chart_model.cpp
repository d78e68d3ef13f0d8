#include "chart_model.h"

#include <string>

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")") {}

double TChartValueList::Value(int index) const {
    if (index < 0)
        throw EListError(index);
    return m_values.at(static_cast<std::size_t>(index));
}

int TChartValueList::PlaceFor(double value) const {
    const std::size_t n = m_values.size();
    switch (Order) {
    case loNone:
        return static_cast<int>(n);
    case loAscending:
        // The list is kept sorted, so the walk back from the end over the
        // values greater than the new one ends where a binary search does.
        if (n == 0 || m_values.back() <= value)
            return static_cast<int>(n);
        return static_cast<int>(m_values.upperBound(value, false));
    case loDescending:
        if (n == 0 || m_values.back() >= value)
            return static_cast<int>(n);
        return static_cast<int>(m_values.upperBound(value, true));
    }
    return static_cast<int>(n);
}

void TChartValueList::InsertAt(int index, double value) {
    if (m_values.empty()) {
        m_min = m_max = value;
    } else {
        m_min = std::min(m_min, value);
        m_max = std::max(m_max, value);
    }
    m_values.insert(static_cast<std::size_t>(index), value);
}

int TChartSeries::AddPoint(double x, double y, const QString& label, Colour colour) {
    const int index = XValues.PlaceFor(x);
    XValues.InsertAt(index, x);
    YValues.InsertAt(index, y);
    m_colours.insert(static_cast<std::size_t>(index), colour);
    m_labels.insert(static_cast<std::size_t>(index), label);
    if (m_chart)
        m_chart->Invalidate();
    return index;
}

Colour TChartSeries::ValueColor(int index) const {
    if (index < 0)
        throw EListError(index);
    const Colour c = m_colours.at(static_cast<std::size_t>(index));
    return c == clNone ? SeriesColor : c;
}

QString TChartSeries::Label(int index) const {
    if (index < 0)
        throw EListError(index);
    return m_labels.at(static_cast<std::size_t>(index));
}

TBarSeries::TBarSeries() : TChartSeries(QStringLiteral("Bar")) {
    Marks.Visible = true;
    Marks.ArrowLength = 20;
}

void TBarSeries::SetBarWidthPercent(int value) {
    if (value < 1 || value > 100)
        throw EChartException("Bar Width Percent must be between 1 and 100");
    m_barWidthPercent = value;
}

void TBarSeries::SetOffsetPercent(int value) {
    if (value < -100 || value > 100)
        throw EChartException("Bar Offset Percent must be between -100% and 100%");
    m_offsetPercent = value;
}

TCustomChart::~TCustomChart() = default;

TChartSeries* TCustomChart::SeriesAt(int index) const {
    if (index < 0 || index >= SeriesCount())
        throw EListError(index);
    return m_series[static_cast<std::size_t>(index)].get();
}
