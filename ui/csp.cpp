#include "csp.h"

#include "window_frame.h"

#include "ui_csp.h"

TCSP::TCSP(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TCSP>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {109, -3}, {619, 580}, CaptionBoxes::CloseMinMax);
    QFont font(QStringLiteral("Bookman Old Style"));
    font.setPixelSize(16);
    font.setBold(true);
    setFont(font);
    connect(ui->Button5, &QPushButton::clicked, this, &TCSP::Button5Click);
}

TCSP::~TCSP() = default;

void TCSP::Button5Click() {
    close();
}
