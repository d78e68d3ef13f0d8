#pragma once

// The chart widget of the workbenches: the model of chart_model.h on a
// widget that paints its scene and lets the student zoom with the left
// mouse button and scroll with the right one.

#include "plot/chart_layout.h"
#include "plot/chart_model.h"

#include <QPoint>
#include <QWidget>

class TChart : public QWidget, public TCustomChart {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);

    // Adding points lands here; update() folds the requests of one handler
    // into a single repaint once control is back in the event loop.
    void Invalidate() override { update(); }

    // The scene as painted at the widget's present size.
    ChartScene CurrentScene() const;
    // True between a zoom or scroll and its undoing.
    bool IsZoomed() const { return m_saved; }
    void UndoZoom();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct AxisState {
        bool automatic, automaticMinimum, automaticMaximum;
        double minimum, maximum;
    };
    enum class Drag { None, Zoom, Scroll };

    void SaveAxes();
    void FixAxis(TChartAxis& axis, double minimum, double maximum);
    void ScrollTo(QPoint pos);

    AxisState m_savedBottom{};
    AxisState m_savedLeft{};
    bool m_saved = false;

    Drag m_drag = Drag::None;
    QPoint m_press;
    QPoint m_current;
    AxisScene m_pressBottom; // the axes as they were when the scroll began
    AxisScene m_pressLeft;
};
