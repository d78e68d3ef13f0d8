#include "ui/window_frame.h"

#include <QWidget>

void SetDesignedFrame(QWidget& window, QPoint topLeft, QSize outer, CaptionBoxes boxes) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (boxes) {
    case CaptionBoxes::None:
        break;
    case CaptionBoxes::Close:
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        break;
    case CaptionBoxes::CloseMinMax:
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
        break;
    }
    window.setWindowFlags(flags);
    window.resize(ClientSizeOf(outer));
    // move() places the frame's top-left corner, which is what the layouts give.
    window.move(topLeft);
}
