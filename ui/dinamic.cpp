#include "ui/dinamic.h"

#include "ui/designed_style.h"
#include "ui/window_frame.h"

#include "ui_dinamic.h"

TDinamic::TDinamic(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TDinamic>()) {
    ui->setupUi(this);
    SetDesignedFrame(*this, {67, 101}, {705, 378}, CaptionBoxes::CloseMinMax);
    const QFont font = DesignedFont("Bookman Old Style", 16);
    setFont(font);
    QFont bold = font;
    bold.setBold(true);
    ui->Button1->setFont(bold);
    connect(ui->Button1, &QPushButton::clicked, this, &TDinamic::Button1Click);
}

TDinamic::~TDinamic() = default;

void TDinamic::Button1Click() {
    close();
}
