#include "vosp.h"

#include "window_frame.h"

#include "ui_vosp.h"

TVOSP::TVOSP(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TVOSP>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {100, 17}, {640, 525}, CaptionBoxes::Close);
    QFont font(QStringLiteral("Bookman Old Style"));
    font.setPixelSize(16);
    font.setBold(true);
    setFont(font);
    connect(ui->Button5, &QPushButton::clicked, this, &TVOSP::Button5Click);
}

TVOSP::~TVOSP() = default;

void TVOSP::Button5Click() {
    close();
}
