#include "ui/dinamic.h"

#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/window_frame.h"

#include "ui_dinamic.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {

QColor ToQColor(Colour c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

} // namespace

TDinamic::TDinamic(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TDinamic>()), m_timer(this) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {67, 101}, {705, 378}, CaptionBoxes::CloseMinMax);
    ApplyDesignedStyle(*this, "Bookman Old Style", 16, false);
    // The red star lies over the exit button like the check marks over the
    // code buttons; a click on it is a click on the button.
    ui->StaticText4->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The window is built at start-up, so its clock counts from there.
    m_sinceStartUp.start();
    m_clock = [this] { return m_sinceStartUp.elapsed(); };

    m_timer.setObjectName(QStringLiteral("Timer1"));
    m_timer.setSingleShot(true);
    // A coarse timer lets the system bundle wake-ups; a precise one spins
    // the event loop for the last millisecond before each tick.
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, Guarded(this, &TDinamic::Timer1Timer));

    const struct {
        QPushButton* button;
        void (TDinamic::*handler)();
    } bindings[] = {
        {ui->Button2, &TDinamic::Button2Click}, {ui->Button4, &TDinamic::Button4Click},
        {ui->Button3, &TDinamic::Button3Click}, {ui->Button5, &TDinamic::Button5Click},
        {ui->Button1, &TDinamic::Button1Click},
    };
    for (const auto& b : bindings)
        connect(b.button, &QPushButton::clicked, this, Guarded(this, b.handler));
}

TDinamic::~TDinamic() = default;

void TDinamic::SetClock(Clock clock) {
    m_clock = std::move(clock);
    if (isVisible())
        Timer1Timer();
}

std::int64_t TDinamic::TicksNow() const {
    return std::max<std::int64_t>(0, m_clock() / kTickMilliseconds);
}

QRect TDinamic::StripOf(PulseTrain train) const {
    // Between the right edge of the block a train leaves and the left edge
    // of the block it enters; everywhere else the blocks cover the shapes.
    const bool electrical = train == PulseTrain::Electrical;
    const QRect from = (electrical ? ui->Panel1 : ui->Panel2)->geometry();
    const QRect to = (electrical ? ui->Panel2 : ui->Panel3)->geometry();
    int top = height();
    int bottom = 0;
    for (const PulseShape& s : m_animation.shapes()) {
        if (s.train != train)
            continue;
        // An optical shape may grow to a light half-bit at any press.
        const int h = electrical ? s.height : std::max(s.height, kLightHeight);
        top = std::min(top, s.top);
        bottom = std::max(bottom, s.top + h);
    }
    return QRect(QPoint(from.right() + 1, top), QPoint(to.left() - 1, bottom - 1));
}

QRect TDinamic::ElectricalStrip() const {
    return StripOf(PulseTrain::Electrical);
}

QRect TDinamic::OpticalStrip() const {
    return StripOf(PulseTrain::Optical);
}

void TDinamic::ShowCode(LineCode code, QLabel* mark) {
    mark->show();
    m_animation.ShowCode(code);
    update(OpticalStrip());
}

void TDinamic::Button2Click() {
    ShowCode(LineCode::Nrz, ui->StaticText3);
}
void TDinamic::Button4Click() {
    ShowCode(LineCode::BiL, ui->StaticText2);
}
void TDinamic::Button3Click() {
    ShowCode(LineCode::Cmi, ui->StaticText1);
}
void TDinamic::Button5Click() {
    ShowCode(LineCode::Ep1, ui->StT1);
}

void TDinamic::Button1Click() {
    close();
}

void TDinamic::Timer1Timer() {
    const std::int64_t ticks = TicksNow();
    if (ticks != m_animation.ticks()) {
        m_animation.SetTicks(ticks);
        update(ElectricalStrip());
        update(OpticalStrip());
    }
    if (isVisible())
        ScheduleNextTick();
}

void TDinamic::ScheduleNextTick() {
    // Wake in the middle of the next tick: a coarse timer may be a few
    // milliseconds early or late, and half a tick away from either edge each
    // wake-up still sees exactly one tick more, whatever moment the window
    // was shown at.
    const std::int64_t now = m_clock();
    const std::int64_t middle =
        (now / kTickMilliseconds + 1) * kTickMilliseconds + kTickMilliseconds / 2;
    m_timer.start(static_cast<int>(middle - now));
}

void TDinamic::showEvent(QShowEvent* event) {
    // Also on a restore from the task bar: the ticks went on meanwhile.
    m_animation.SetTicks(TicksNow());
    ScheduleNextTick();
    QWidget::showEvent(event);
}

void TDinamic::hideEvent(QHideEvent* event) {
    // Hidden or minimised, the window has nothing to draw; the clock keeps
    // the count.
    m_timer.stop();
    QWidget::hideEvent(event);
}

void TDinamic::resizeEvent(QResizeEvent* event) {
    // The title runs across the window's whole width.
    ui->Label13->resize(event->size().width(), ui->Label13->height());
    QWidget::resizeEvent(event);
}

void TDinamic::paintEvent(QPaintEvent* event) {
    // The shapes lie on the window itself, under the blocks, which are
    // opaque: a shape shows only between them.
    QPainter painter(this);
    const QColor brush = ToQColor(kPulseBrush);
    for (const PulseShape& s : m_animation.shapes()) {
        const QRect r(s.left, s.top, s.width, s.height);
        if (r.isEmpty() || !event->rect().intersects(r))
            continue;
        const QColor pen = ToQColor(s.pen);
        if (r.height() <= 2 || r.width() <= 2) {
            painter.fillRect(r, pen); // all outline
            continue;
        }
        painter.fillRect(r, brush);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}
