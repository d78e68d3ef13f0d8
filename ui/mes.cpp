#include "ui/mes.h"

#include "ui/designed_style.h"
#include "ui/handler_guard.h"
#include "ui/window_frame.h"

#include "ui_mes.h"

Tmes::Tmes(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Tmes>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {286, 192}, {338, 146}, CaptionBoxes::None);
    ui->Label1->setFont(DesignedFont("Bookman Old Style", 19));
    QPalette red = ui->Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ui->Label1->setPalette(red);
    for (QLabel* label : {ui->Label2, ui->Label3, ui->Label4})
        label->setFont(DesignedFont("Bookman Old Style", 16));
    ui->Button1->setFont(DesignedFont("Bookman Old Style", 19, true));
    ApplyDesignedStyle(*this, "MS Sans Serif", 11, false);
    // The button is the only control that takes the focus; Enter and Space
    // both press it.
    ui->Button1->setAutoDefault(true);
    ui->Button1->setFocus();
    connect(ui->Button1, &QPushButton::clicked, this, Guarded(this, &Tmes::Button1Click));
}

Tmes::~Tmes() = default;

void Tmes::Button1Click() {
    close();
}

void Tmes::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label3, ui->Label4})
        label->resize(width(), label->height());
}

void Tmes::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ui->Button1->setFocus();
}
