#pragma once

// The windows and charts were designed with fonts that a free desktop does
// not have. Each is mapped once, at start-up, to an installed free font with
// Cyrillic, chosen by its metrics: Arial and Times New Roman to their
// metric-compatible clones Liberation Sans and Liberation Serif; Bookman Old
// Style and MS Sans Serif to the candidate face whose width for a text of the
// layouts comes closest to the room the layouts give that text (URW Bookman
// and Liberation Sans where they are installed; DejaVu Sans, the usual
// stand-in for MS Sans Serif, runs a tenth wider and pushes texts under the
// controls beside them). The symbol font Wingdings maps to DejaVu Sans, which
// has the check mark (U+2714) that check marks draw in place of the symbol
// font's 0xFC. Safe to call more than once.
void RegisterFontSubstitutions();

// The character that a check mark shows.
inline constexpr char16_t kCheckMarkCharacter = u'\u2714';
