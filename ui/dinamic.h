#pragma once

#include "animation/line_path_animation.h"

#include <QElapsedTimer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;

namespace Ui {
class TDinamic;
}

// The dynamic model of the optical line path: the blocks АФЦП, ОЛТ and ОК
// with the electrical and the optical pulse trains flowing between them, and
// four buttons that choose the code the optical train shows.
//
// The trains move by the ticks counted since start-up, whether the window is
// shown or not. While it is hidden nothing runs at all: the ticks are read
// from a clock started with the window (built at start-up), and the shapes,
// a pure function of that count, are brought up to date when it is shown.
// While it is shown, a timer wakes on each tick, sets the positions and
// repaints only the two strips between the blocks where the shapes can be seen.
class TDinamic : public QWidget {
    Q_OBJECT
public:
    explicit TDinamic(QWidget* parent = nullptr);
    ~TDinamic() override;

    // Milliseconds since start-up; tests put a clock of their own in place
    // of the one started with the window.
    using Clock = std::function<std::int64_t()>;
    void SetClock(Clock clock);

    const LinePathAnimation& animation() const { return m_animation; }
    // The part of the window where each train can be seen: between the two
    // blocks it runs between, as high as its shapes reach.
    QRect ElectricalStrip() const;
    QRect OpticalStrip() const;

public slots:
    // "NRZ", "BI-L", "CMI", "EP-1".
    void Button2Click();
    void Button4Click();
    void Button3Click();
    void Button5Click();
    // "Выход".
    void Button1Click();
    // One tick: the shapes to where the ticks since start-up put them.
    void Timer1Timer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::int64_t TicksNow() const;
    void ShowCode(LineCode code, QLabel* mark);
    void ScheduleNextTick();
    QRect StripOf(PulseTrain train) const;

    std::unique_ptr<Ui::TDinamic> ui;
    LinePathAnimation m_animation;
    QElapsedTimer m_sinceStartUp;
    Clock m_clock;
    QTimer m_timer;
};
