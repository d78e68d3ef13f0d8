#include "ui/csp.h"

#include "plot/chart.h"
#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/jon.h"
#include "ui/mes.h"
#include "ui/modal.h"
#include "ui/window_frame.h"
#include "ui/window_references.h"
#include "workbench/chart_presses.h"
#include "workbench/designed_charts.h"

#include "ui_csp.h"

#include <QResizeEvent>

namespace {

enum Row { kPit, kAbs, kChpi, kKvp3 };

// The field's text as the window holds it: its UTF-16 code units, unchanged.
std::u16string_view CombinationText(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

TCSP::TCSP(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TCSP>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {109, -3}, {619, 580}, CaptionBoxes::CloseMinMax);
    ApplyDesignedStyle(*this, "Bookman Old Style", 16, true);

    const struct {
        TChart* chart;
        DesignedChart layout;
    } charts[] = {
        {ui->Chart1, DesignedChart::CspPitSignal},
        {ui->Chart8, DesignedChart::CspAbsSignal},
        {ui->Chart14, DesignedChart::CspChpiSignal},
        {ui->Chart5, DesignedChart::CspKvp3Signal},
        {ui->Chart4, DesignedChart::CspPitSpectrum},
        {ui->Chart13, DesignedChart::CspAbsSpectrum},
        {ui->Chart12, DesignedChart::CspChpiSpectrum},
        {ui->Chart11, DesignedChart::CspKvp3Spectrum},
        {ui->Chart17, DesignedChart::CspComparison},
    };
    for (const auto& c : charts)
        ApplyDesignedChart(*c.chart, c.layout);

    m_rows[kPit] = {LineCode::Pit, ui->Panel1, ui->Panel2,  ui->Panel3,
                    ui->Chart1,    ui->Chart4, ui->Button6, ui->Button16};
    m_rows[kAbs] = {LineCode::Abs, ui->Panel4,  ui->Panel8,   ui->Panel11,
                    ui->Chart8,    ui->Chart13, ui->Button13, ui->Button17};
    m_rows[kChpi] = {LineCode::Chpi, ui->Panel5,  ui->Panel12,  ui->Panel10,
                     ui->Chart14,    ui->Chart12, ui->Button15, ui->Button18};
    m_rows[kKvp3] = {LineCode::Kvp3, ui->Panel6,  ui->Panel13,  ui->Panel7,
                     ui->Chart5,     ui->Chart11, ui->Button14, ui->Button19};

    const struct {
        QPushButton* button;
        void (TCSP::*handler)();
    } bindings[] = {
        {ui->Button1, &TCSP::Button1Click},   {ui->Button2, &TCSP::Button2Click},
        {ui->Button3, &TCSP::Button3Click},   {ui->Button4, &TCSP::Button4Click},
        {ui->Button6, &TCSP::Button6Click},   {ui->Button20, &TCSP::Button6Click},
        {ui->Button13, &TCSP::Button13Click}, {ui->Button15, &TCSP::Button15Click},
        {ui->Button14, &TCSP::Button14Click}, {ui->Button16, &TCSP::Button16Click},
        {ui->Button17, &TCSP::Button17Click}, {ui->Button18, &TCSP::Button18Click},
        {ui->Button19, &TCSP::Button19Click}, {ui->Button7, &TCSP::Button7Click},
        {ui->Button21, &TCSP::Button7Click},  {ui->Button10, &TCSP::Button10Click},
        {ui->Button12, &TCSP::Button12Click}, {ui->Button11, &TCSP::Button11Click},
        {ui->Button9, &TCSP::Button9Click},   {ui->Button8, &TCSP::Button8Click},
        {ui->Button5, &TCSP::Button5Click},
    };
    for (const auto& b : bindings)
        connect(b.button, &QPushButton::clicked, this, Guarded(this, b.handler));

    ui->Edit1->setFocus();
}

TCSP::~TCSP() = default;

void TCSP::resizeEvent(QResizeEvent* event) {
    // The three top lines follow the window's width; everything else stays.
    for (QWidget* label : {static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->Label3),
                           static_cast<QWidget*>(ui->Label38)})
        label->resize(event->size().width(), label->height());
    QWidget::resizeEvent(event);
}

void TCSP::ShowContentPanel(QWidget* panel) {
    for (QWidget* p : {ui->Panel1, ui->Panel4, ui->Panel5, ui->Panel6, ui->Panel9, ui->Panel15}) {
        if (p != panel)
            p->hide();
    }
    panel->show();
}

void TCSP::Button1Click() {
    ShowContentPanel(ui->Panel1);
}
void TCSP::Button2Click() {
    ShowContentPanel(ui->Panel4);
}
void TCSP::Button3Click() {
    ShowContentPanel(ui->Panel5);
}
void TCSP::Button4Click() {
    ShowContentPanel(ui->Panel6);
}

void TCSP::ShowSignalView(const CodePanel& row) {
    row.spectrumView->hide();
    row.signalView->show();
}

void TCSP::Form(const CodePanel& row) {
    // The signal view comes to the front first, whatever the field holds.
    ShowSignalView(row);
    const QString text = ui->Edit1->text();
    const std::optional<Bits> bits = CombinationBits(CombinationText(text));
    if (!bits) {
        ui->Edit1->setText(QString());
        ShowModal(*mes);
        ui->Edit1->setFocus();
        return;
    }
    FormSignal(*row.signalChart, row.code, *bits);
    row.firstForming->hide();
    row.secondForming->show();
}

void TCSP::Button6Click() {
    Form(m_rows[kPit]);
}
void TCSP::Button13Click() {
    Form(m_rows[kAbs]);
}
void TCSP::Button15Click() {
    Form(m_rows[kChpi]);
}
void TCSP::Button14Click() {
    Form(m_rows[kKvp3]);
}

void TCSP::Button16Click() {
    ShowSignalView(m_rows[kPit]);
}
void TCSP::Button17Click() {
    ShowSignalView(m_rows[kAbs]);
}
void TCSP::Button18Click() {
    ShowSignalView(m_rows[kChpi]);
}
void TCSP::Button19Click() {
    ShowSignalView(m_rows[kKvp3]);
}

void TCSP::DrawSpectrum(const CodePanel& row) {
    row.signalView->hide();
    row.spectrumView->show();
    PressSpectrum(*row.spectrumChart, row.code);
}

void TCSP::Button7Click() {
    DrawSpectrum(m_rows[kPit]);
}
void TCSP::Button10Click() {
    DrawSpectrum(m_rows[kAbs]);
}
void TCSP::Button12Click() {
    DrawSpectrum(m_rows[kChpi]);
}
void TCSP::Button11Click() {
    DrawSpectrum(m_rows[kKvp3]);
}

void TCSP::Button9Click() {
    ShowContentPanel(ui->Panel9);
    PressComparison(*ui->Chart17, Workbench::Dts);
}

void TCSP::Button8Click() {
    ShowModal(*jon);
}

void TCSP::Button5Click() {
    close();
}
