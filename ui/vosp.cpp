#include "ui/vosp.h"

#include "ui/designed_style.h"
#include "ui/window_frame.h"

#include "ui_vosp.h"

TVOSP::TVOSP(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TVOSP>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {100, 17}, {640, 525}, CaptionBoxes::Close);
    setFont(DesignedFont("Bookman Old Style", 16, true));
    connect(ui->Button5, &QPushButton::clicked, this, &TVOSP::Button5Click);
}

TVOSP::~TVOSP() = default;

void TVOSP::Button5Click() {
    close();
}
