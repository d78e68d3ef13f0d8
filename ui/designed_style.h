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
// It also gives every window the designed look that Qt widgets do not have
// of themselves, telling the controls' kinds by their designed names:
//
// - Labels, bevels, shapes and pictures (Label*, Bevel*, Shape*, Image*) are
//   graphic controls, drawn by their parent: they lie below all the windowed
//   controls of the same parent (panels, charts, buttons, edit fields, static
//   texts), whatever their order in the layout, and a windowed control that
//   covers one takes the mouse input there. A graphic control added in code
//   later takes its place below when it is first shown.
// - Panels (Panel*) are opaque: each paints its own colour, the button face
//   unless it has another, over whatever lies below it.
// - A label's text shows whole: where it does not fit the designed rectangle
//   in the installed font (the free fonts that stand in for the designed ones
//   run a little wider and have taller lines), the label grows, its text
//   staying in place or, where a windowed control is in the way, moving by
//   the least that clears it; where no growth helps, the font's pixel height
//   is lowered by the least that fits. Fonts set and labels added after this
//   call are not fitted.
//
// `root` itself gets `family`, `height` px and `bold` as its font.
void ApplyDesignedStyle(QWidget& root, const char* family, int height, bool bold);
