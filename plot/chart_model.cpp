#include "plot/chart_model.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

EListError::EListError(int index)
    : std::runtime_error("List index out of bounds (" + std::to_string(index) + ")") {}

namespace {

std::size_t LowBit(std::size_t i) {
    return i & (~i + 1);
}

bool SamePoint(const ChartPoint& a, const ChartPoint& b) {
    // Bit for bit, so that 0 and -0 stay apart.
    return std::memcmp(&a.x, &b.x, sizeof a.x) == 0 && std::memcmp(&a.y, &b.y, sizeof a.y) == 0 &&
           a.colour == b.colour && a.label == b.label;
}

} // namespace

ChartPoint ChartPointStore::at(std::size_t index) const {
    if (index >= m_size)
        throw EListError(static_cast<int>(index));
    // Descend the tree to the last bucket whose preceding count is <= index.
    std::size_t pos = 0;
    std::size_t sum = 0;
    std::size_t step = 1;
    while (step * 2 < m_tree.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        const std::size_t next = pos + step;
        if (next < m_tree.size() && sum + m_tree[next] <= index) {
            pos = next;
            sum += m_tree[next];
        }
    }
    std::size_t offset = index - sum;
    for (const ChartRun& run : m_buckets[pos]) {
        if (offset < run.count)
            return run.point;
        offset -= run.count;
    }
    throw EListError(static_cast<int>(index)); // the tree and the runs disagree
}

std::size_t ChartPointStore::before(std::size_t bucket) const {
    std::size_t sum = 0;
    for (std::size_t i = bucket; i > 0; i -= LowBit(i))
        sum += m_tree[i];
    return sum;
}

void ChartPointStore::appendTo(std::size_t bucket, const ChartPoint& point) {
    std::vector<ChartRun>& runs = m_buckets[bucket];
    if (!runs.empty() && SamePoint(runs.back().point, point) && runs.back().count < UINT32_MAX)
        ++runs.back().count;
    else
        runs.push_back({point, 1});
    for (std::size_t i = bucket + 1; i < m_tree.size(); i += LowBit(i))
        ++m_tree[i];
}

void ChartPointStore::rebuildTree() {
    m_tree.assign(m_buckets.size() + 1, 0);
    for (std::size_t i = 1; i < m_tree.size(); ++i) {
        for (const ChartRun& run : m_buckets[i - 1])
            m_tree[i] += run.count;
        const std::size_t parent = i + LowBit(i);
        if (parent < m_tree.size())
            m_tree[parent] += m_tree[i];
    }
}

void ChartPointStore::appendBucket(const ChartPoint& point) {
    if (m_tree.empty())
        m_tree.push_back(0);
    m_keys.push_back(point.x);
    m_buckets.push_back({ChartRun{point, 1}});
    // The new tree node covers the buckets (i - lowbit(i), i].
    const std::size_t i = m_buckets.size();
    m_tree.push_back(before(i - 1) - before(i - LowBit(i)) + 1);
}

void ChartPointStore::insertBucket(std::size_t bucket, const ChartPoint& point) {
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(bucket), point.x);
    m_buckets.insert(m_buckets.begin() + static_cast<std::ptrdiff_t>(bucket),
                     std::vector<ChartRun>{ChartRun{point, 1}});
    rebuildTree();
}

std::size_t ChartPointStore::add(const ChartPoint& point, TChartListOrder order) {
    const double x = point.x;
    std::size_t index = m_size;
    if (order == loNone || m_buckets.empty()) {
        // Unordered points fill buckets of bounded length, so that finding
        // a point by its index stays quick.
        if (m_buckets.empty() || (order == loNone && m_buckets.back().size() >= kMaxRuns))
            appendBucket(point);
        else
            appendTo(m_buckets.size() - 1, point);
    } else {
        const bool ascending = order == loAscending;
        // `after(k)`: a key that a point with this x goes before.
        auto after = [&](double key) { return ascending ? x < key : key < x; };
        const double last = m_keys.back();
        if (x == last) {
            appendTo(m_buckets.size() - 1, point);
        } else if (!after(last)) {
            appendBucket(point);
        } else {
            // A repeated press visits the buckets one after another, so the
            // bucket after the last one used is the first guess.
            std::size_t b;
            if (m_recent + 1 < m_keys.size() && m_keys[m_recent + 1] == x)
                b = m_recent + 2;
            else
                b = static_cast<std::size_t>(
                    std::partition_point(m_keys.begin(), m_keys.end(),
                                         [&](double key) { return !after(key); }) -
                    m_keys.begin());
            m_recent = b > 0 ? b - 1 : 0;
            if (b > 0 && m_keys[b - 1] == x) {
                // equal x values: after all of them
                index = before(b);
                appendTo(b - 1, point);
            } else {
                index = before(b);
                insertBucket(b, point);
                m_recent = b;
            }
        }
    }
    ++m_size;
    return index;
}

double TChartValueList::Value(int index) const {
    if (index < 0)
        throw EListError(index);
    return m_points.at(static_cast<std::size_t>(index)).*m_member;
}

void TChartValueList::SetOrder(TChartListOrder order) {
    if (order != m_order && Count() > 0)
        throw EChartException("The order of a value list cannot change once it holds values");
    m_order = order;
}

void TChartValueList::Inserted(double value) {
    if (!m_any) {
        m_min = m_max = value;
        m_any = true;
    } else {
        m_min = std::min(m_min, value);
        m_max = std::max(m_max, value);
    }
}

int TChartSeries::AddPoint(double x, double y, const QString& label, Colour colour) {
    std::int32_t labelId = 0;
    if (!label.isEmpty()) {
        m_labelTexts.push_back(label);
        labelId = static_cast<std::int32_t>(m_labelTexts.size());
    }
    const auto index =
        static_cast<int>(m_points.add(ChartPoint{x, y, colour, labelId}, XValues.Order()));
    XValues.Inserted(x);
    YValues.Inserted(y);
    if (m_chart)
        m_chart->Invalidate();
    return index;
}

Colour TChartSeries::ValueColor(int index) const {
    if (index < 0)
        throw EListError(index);
    const Colour c = m_points.at(static_cast<std::size_t>(index)).colour;
    return c == clNone ? SeriesColor : c;
}

QString TChartSeries::Label(int index) const {
    if (index < 0)
        throw EListError(index);
    const std::int32_t id = m_points.at(static_cast<std::size_t>(index)).label;
    return id == 0 ? QString() : m_labelTexts[static_cast<std::size_t>(id - 1)];
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
