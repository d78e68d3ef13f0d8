#pragma once

#include <cstdint>

// A colour as the layout data and the point lists carry it: 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour clBlack = 0x00000000;
inline constexpr Colour clRed = 0x000000FF;
inline constexpr Colour clGreen = 0x00008000;
inline constexpr Colour clYellow = 0x0000FFFF;
inline constexpr Colour clBlue = 0x00FF0000;
inline constexpr Colour clNavy = 0x00800000;
inline constexpr Colour clPurple = 0x00800080;
inline constexpr Colour clGray = 0x00808080;
inline constexpr Colour clSilver = 0x00C0C0C0;
inline constexpr Colour clWhite = 0x00FFFFFF;
// The face of buttons and windows, as the program's windows paint it.
inline constexpr Colour clBtnFace = 0x00F0F0F0;
// A point without a colour of its own is drawn in its series' colour.
inline constexpr Colour clNone = 0x80000000;

inline constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
