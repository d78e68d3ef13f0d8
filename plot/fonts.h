#pragma once

// The windows and charts were designed with fonts that a free desktop does
// not have. Each is mapped once, at start-up, to a metric-compatible free
// font with Cyrillic: Bookman Old Style → URW Bookman, Arial → Liberation
// Sans, Times New Roman → Liberation Serif, MS Sans Serif → DejaVu Sans.
// The symbol font Wingdings maps to DejaVu Sans, which has the check mark
// (U+2714) that check marks draw in place of the symbol font's 0xFC.
// Safe to call more than once.
void RegisterFontSubstitutions();

// The character that a check mark shows.
inline constexpr char16_t kCheckMarkCharacter = u'\u2714';
