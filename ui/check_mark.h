#pragma once

#include <QLabel>

// A check mark laid over the left end of a button: a static text in the
// symbol font "Wingdings", green, hidden until the button has been pressed
// and then shown for good. The symbol font's check mark glyph is drawn with
// the Unicode check mark through the font substitutions of fonts.h.
class CheckMark : public QLabel {
    Q_OBJECT
public:
    explicit CheckMark(QWidget* parent = nullptr);

    // Character height in pixels.
    void SetHeight(int pixels);
};
