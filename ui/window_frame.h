#pragma once

#include <QPoint>
#include <QSize>

class QWidget;

// The windows were designed with a classic sizeable frame: a 4-pixel border on
// every side and a 19-pixel caption bar. Their layouts need the client area
// that such a frame leaves inside the designed outer size.
inline constexpr int kFrameBorder = 4;
inline constexpr int kCaptionHeight = 19;

inline QSize ClientSizeOf(QSize outer) {
    return {outer.width() - 2 * kFrameBorder, outer.height() - 2 * kFrameBorder - kCaptionHeight};
}

// Which boxes the caption bar offers.
enum class CaptionBoxes {
    None,        // no system menu, no close box
    Close,       // system menu and close box
    CloseMinMax, // system menu, close, minimise and maximise
};

// Makes `window` a top-level window with the designed frame: its caption bar
// boxes, its client size for `outer`, and its outer top-left at `topLeft`.
void SetDesignedFrame(QWidget& window, QPoint topLeft, QSize outer, CaptionBoxes boxes);
