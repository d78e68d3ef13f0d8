#include "ui/vosp.h"

#include "plot/chart.h"
#include "ui/designed_style.h"
#include "ui/dinamic.h"
#include "ui/handler_guard.h"
#include "ui/help.h"
#include "ui/mes.h"
#include "ui/modal.h"
#include "ui/window_frame.h"
#include "ui/window_references.h"
#include "workbench/chart_presses.h"
#include "workbench/designed_charts.h"

#include "ui_vosp.h"

#include <QResizeEvent>

namespace {

enum Row { kNrz, kBiL, kCmi, kEp1 };

// The field's text as the window holds it: its UTF-16 code units, unchanged.
std::u16string_view CombinationText(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

TVOSP::TVOSP(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TVOSP>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {100, 17}, {640, 525}, CaptionBoxes::Close);
    ApplyDesignedStyle(*this, "Bookman Old Style", 16, true);

    const struct {
        TChart* chart;
        DesignedChart layout;
    } charts[] = {
        {ui->Chart1, DesignedChart::VospNrzSignal},
        {ui->Chart8, DesignedChart::VospBiLSignal},
        {ui->Chart14, DesignedChart::VospCmiSignal},
        {ui->Chart5, DesignedChart::VospEp1Signal},
        {ui->Chart4, DesignedChart::VospNrzSpectrum},
        {ui->Chart13, DesignedChart::VospBiLSpectrum},
        {ui->Chart12, DesignedChart::VospCmiSpectrum},
        {ui->Chart11, DesignedChart::VospEp1Spectrum},
        {ui->Chart17, DesignedChart::VospComparison},
    };
    for (const auto& c : charts)
        ApplyDesignedChart(*c.chart, c.layout);

    m_rows[kNrz] = {LineCode::Nrz, ui->Panel1, ui->Panel2,  ui->Panel3,
                    ui->Chart1,    ui->Chart4, ui->Button6, ui->Button16};
    m_rows[kBiL] = {LineCode::BiL, ui->Panel4,  ui->Panel8,   ui->Panel11,
                    ui->Chart8,    ui->Chart13, ui->Button13, ui->Button17};
    m_rows[kCmi] = {LineCode::Cmi, ui->Panel5,  ui->Panel12,  ui->Panel10,
                    ui->Chart14,   ui->Chart12, ui->Button15, ui->Button18};
    m_rows[kEp1] = {LineCode::Ep1, ui->Panel6,  ui->Panel13,  ui->Panel7,
                    ui->Chart5,    ui->Chart11, ui->Button14, ui->Button19};

    const struct {
        QPushButton* button;
        void (TVOSP::*handler)();
    } bindings[] = {
        {ui->Button1, &TVOSP::Button1Click},   {ui->Button2, &TVOSP::Button2Click},
        {ui->Button3, &TVOSP::Button3Click},   {ui->Button4, &TVOSP::Button4Click},
        {ui->Button6, &TVOSP::Button6Click},   {ui->Button20, &TVOSP::Button6Click},
        {ui->Button13, &TVOSP::Button13Click}, {ui->Button15, &TVOSP::Button15Click},
        {ui->Button14, &TVOSP::Button14Click}, {ui->Button16, &TVOSP::Button16Click},
        {ui->Button17, &TVOSP::Button17Click}, {ui->Button18, &TVOSP::Button18Click},
        {ui->Button19, &TVOSP::Button19Click}, {ui->Button7, &TVOSP::Button7Click},
        {ui->Button21, &TVOSP::Button7Click},  {ui->Button10, &TVOSP::Button10Click},
        {ui->Button12, &TVOSP::Button12Click}, {ui->Button11, &TVOSP::Button11Click},
        {ui->Button9, &TVOSP::Button9Click},   {ui->Button22, &TVOSP::Button22Click},
        {ui->Button8, &TVOSP::Button8Click},   {ui->Button5, &TVOSP::Button5Click},
    };
    for (const auto& b : bindings)
        connect(b.button, &QPushButton::clicked, this, Guarded(this, b.handler));

    ui->Edit1->setFocus();
}

TVOSP::~TVOSP() = default;

void TVOSP::resizeEvent(QResizeEvent* event) {
    // The title line follows the window's width; everything else stays.
    ui->Label1->resize(event->size().width(), ui->Label1->height());
    QWidget::resizeEvent(event);
}

// The button's mark first, then the panel in front.
void TVOSP::ShowContentPanel(QWidget* mark, QWidget* panel) {
    mark->show();
    for (QWidget* p : {ui->Panel1, ui->Panel4, ui->Panel5, ui->Panel6, ui->Panel9, ui->Panel15}) {
        if (p != panel)
            p->hide();
    }
    panel->show();
}

void TVOSP::Button1Click() {
    ShowContentPanel(ui->StT1, ui->Panel1);
}
void TVOSP::Button2Click() {
    ShowContentPanel(ui->StT2, ui->Panel4);
}
void TVOSP::Button3Click() {
    ShowContentPanel(ui->StT3, ui->Panel5);
}
void TVOSP::Button4Click() {
    ShowContentPanel(ui->StT4, ui->Panel6);
}

void TVOSP::ShowSignalView(const CodePanel& row) {
    row.spectrumView->hide();
    row.signalView->show();
}

void TVOSP::Form(const CodePanel& row) {
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
    row.forming->hide();
    row.view->show();
}

void TVOSP::Button6Click() {
    Form(m_rows[kNrz]);
}
void TVOSP::Button13Click() {
    Form(m_rows[kBiL]);
}
void TVOSP::Button15Click() {
    Form(m_rows[kCmi]);
}
void TVOSP::Button14Click() {
    Form(m_rows[kEp1]);
}

void TVOSP::Button16Click() {
    ShowSignalView(m_rows[kNrz]);
}
void TVOSP::Button17Click() {
    ShowSignalView(m_rows[kBiL]);
}
void TVOSP::Button18Click() {
    ShowSignalView(m_rows[kCmi]);
}
void TVOSP::Button19Click() {
    ShowSignalView(m_rows[kEp1]);
}

void TVOSP::DrawSpectrum(const CodePanel& row) {
    row.signalView->hide();
    row.spectrumView->show();
    PressSpectrum(*row.spectrumChart, row.code);
}

void TVOSP::Button7Click() {
    DrawSpectrum(m_rows[kNrz]);
}
void TVOSP::Button10Click() {
    DrawSpectrum(m_rows[kBiL]);
}
void TVOSP::Button12Click() {
    DrawSpectrum(m_rows[kCmi]);
}
void TVOSP::Button11Click() {
    DrawSpectrum(m_rows[kEp1]);
}

void TVOSP::Button9Click() {
    ShowContentPanel(ui->StT5, ui->Panel9);
    PressComparison(*ui->Chart17, Workbench::Fots);
}

void TVOSP::Button22Click() {
    // The mark is shown before the model opens, so it is there behind it.
    ui->StT6->show();
    ShowModal(*Dinamic);
}

void TVOSP::Button8Click() {
    ShowModal(*Help);
}

void TVOSP::Button5Click() {
    close();
}
