#include "help.h"

#include "window_frame.h"

THelp::THelp(QWidget* parent) : QWidget(parent) {
    setObjectName("Help");
    setWindowTitle(QStringLiteral("Справочная информация"));
    SetDesignedFrame(*this, {119, 81}, {612, 423}, CaptionBoxes::Close);
}
