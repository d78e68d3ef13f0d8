#include "plot/chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>

#include <cstdlib>

namespace {

// A zoom rectangle must be larger than this in both directions; smaller
// drags are taken for clicks.
constexpr int kMinZoomDrag = 16;

} // namespace

TChart::TChart(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ChartScene TChart::CurrentScene() const {
    ChartLayoutOptions options;
    options.locale = QLocale();
    return LayoutChart(*this, size(), options);
}

void TChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintScene(painter, CurrentScene());
    if (m_drag == Drag::Zoom) {
        painter.setClipping(false);
        QPen pen(Qt::black);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(m_press, m_current).normalized());
    }
}

void TChart::SaveAxes() {
    if (m_saved)
        return;
    auto save = [](const TChartAxis& a) {
        return AxisState{a.Automatic, a.AutomaticMinimum, a.AutomaticMaximum, a.Minimum, a.Maximum};
    };
    m_savedBottom = save(BottomAxis);
    m_savedLeft = save(LeftAxis);
    m_saved = true;
}

void TChart::FixAxis(TChartAxis& axis, double minimum, double maximum) {
    axis.Automatic = false;
    axis.AutomaticMinimum = false;
    axis.AutomaticMaximum = false;
    axis.Minimum = minimum;
    axis.Maximum = maximum;
}

void TChart::UndoZoom() {
    if (!m_saved)
        return;
    auto restore = [](TChartAxis& a, const AxisState& s) {
        a.Automatic = s.automatic;
        a.AutomaticMinimum = s.automaticMinimum;
        a.AutomaticMaximum = s.automaticMaximum;
        a.Minimum = s.minimum;
        a.Maximum = s.maximum;
    };
    restore(BottomAxis, m_savedBottom);
    restore(LeftAxis, m_savedLeft);
    m_saved = false;
    update();
}

void TChart::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const ChartScene scene = CurrentScene();
    if (SeriesCount() == 0 || !scene.plot.contains(pos)) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_press = m_current = pos;
    if (event->button() == Qt::LeftButton && AllowZoom) {
        m_drag = Drag::Zoom;
    } else if (event->button() == Qt::RightButton && AllowPanning) {
        m_drag = Drag::Scroll;
        m_pressBottom = scene.bottom;
        m_pressLeft = scene.left;
    }
}

void TChart::ScrollTo(QPoint pos) {
    // Computed from the press point rather than summed from small moves,
    // so a long drag does not drift.
    SaveAxes();
    const AxisScene& h = m_pressBottom;
    const AxisScene& v = m_pressLeft;
    if (h.length() != 0) {
        const double dx = (pos.x() - m_press.x()) * h.range() / h.length();
        FixAxis(BottomAxis, h.minimum - dx, h.maximum - dx);
    }
    if (v.length() != 0) {
        const double dy = (pos.y() - m_press.y()) * v.range() / v.length();
        FixAxis(LeftAxis, v.minimum + dy, v.maximum + dy);
    }
    update();
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::Zoom) {
        m_current = pos;
        update();
    } else if (m_drag == Drag::Scroll) {
        if (!CurrentScene().plot.contains(pos)) {
            m_drag = Drag::None; // leaving the plot ends the scroll
            return;
        }
        if (pos != m_press)
            ScrollTo(pos);
    }
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const Drag drag = m_drag;
    m_drag = Drag::None;
    if (drag == Drag::Scroll) {
        if (event->button() == Qt::RightButton && pos != m_press &&
            CurrentScene().plot.contains(pos))
            ScrollTo(pos);
        return;
    }
    if (drag != Drag::Zoom || event->button() != Qt::LeftButton)
        return;
    update(); // the zoom rectangle goes away in any case
    const int dx = pos.x() - m_press.x();
    const int dy = pos.y() - m_press.y();
    if (std::abs(dx) <= kMinZoomDrag || std::abs(dy) <= kMinZoomDrag)
        return;
    if (dx < 0 || dy < 0) {
        UndoZoom();
        return;
    }
    const ChartScene scene = CurrentScene();
    SaveAxes();
    FixAxis(BottomAxis, scene.bottom.Value(m_press.x()), scene.bottom.Value(pos.x()));
    FixAxis(LeftAxis, scene.left.Value(pos.y()), scene.left.Value(m_press.y()));
}
