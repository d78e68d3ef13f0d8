#pragma once

#include <QFont>

class QColor;
class QWidget;

// A font as the layouts give it: a family and a character height in pixels.
QFont DesignedFont(const char* family, int pixels, bool bold = false, bool italic = false);

// The colour of a label's or a button's text.
void SetTextColour(QWidget& widget, const QColor& colour);

// Qt Designer stores fonts in points, while the windows were designed in
// pixel heights, and it cannot say "the window font, but not bold". The .ui
// files therefore carry these dynamic properties, which this applies to every
// widget below `root`, parents before children, so that unset fields are
// inherited as the designed layouts expect:
//
//   fontFamily (string), fontHeight (int, pixels), fontBold (bool),
//   fontItalic (bool), textColour (colour of label and button text),
//   backgroundColour (a label's own background colour, painted under its text).
//
// Left-aligned labels also grow to fit their text, as labels sized to their
// text do: the free fonts that stand in for the designed ones run a few pixels
// wider, and a clipped word would be worse than a label a little larger.
//
// `root` itself gets `family`, `height` px and `bold` as its font.
void ApplyDesignedStyle(QWidget& root, const char* family, int height, bool bold);
