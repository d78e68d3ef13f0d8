#include "jon.h"

#include "window_frame.h"

Tjon::Tjon(QWidget* parent) : QWidget(parent) {
    setObjectName("jon");
    setWindowTitle(QStringLiteral("Справочная информация"));
    SetDesignedFrame(*this, {110, 72}, {621, 419}, CaptionBoxes::CloseMinMax);
}
