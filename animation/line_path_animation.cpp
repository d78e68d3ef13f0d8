#include "animation/line_path_animation.h"

#include <stdexcept>
#include <string>

namespace {

constexpr int kElectricalLimit = 300;
constexpr int kOpticalLimit = 550;

constexpr PulseTrain E = PulseTrain::Electrical;
constexpr PulseTrain O = PulseTrain::Optical;
constexpr int kTop = 136;
constexpr int kFlatTop = 192; // a 1-pixel line: an electrical 0
constexpr int kH = kStartOpticalHeight;

// The shapes as designed, in stepping order. The electrical ones read
// 1 0 1 0 0 1 1 from left to right, one bit per 32 pixels; the optical ones
// are half-bits 16 pixels apart, `Sha12` … `Sha14` leftmost.
constexpr LinePathAnimation::Shapes kDesigned = {{
    {"Sh1", E, 104, kTop, 33, 57, clBlue},     {"Sh2", E, 136, kFlatTop, 33, 1, clBlue},
    {"Sh3", E, 168, kTop, 33, 57, clBlue},     {"Sh4", E, 200, kFlatTop, 33, 1, clBlue},
    {"Sh5", E, 232, kFlatTop, 33, 1, clBlue},  {"Sh6", E, 264, kTop, 33, 57, clBlue},
    {"Sh7", E, 296, kTop, 33, 57, clBlue},     {"Sha1", O, 416, kTop, 17, kH, clPurple},
    {"Sha2", O, 432, kTop, 17, kH, clPurple},  {"Sha3", O, 448, kTop, 17, kH, clPurple},
    {"Sha4", O, 464, kTop, 17, kH, clPurple},  {"Sha5", O, 480, kTop, 17, kH, clPurple},
    {"Sha6", O, 496, kTop, 17, kH, clPurple},  {"Sha7", O, 512, kTop, 17, kH, clPurple},
    {"Sha8", O, 528, kTop, 17, kH, clPurple},  {"Sha9", O, 544, kTop, 17, kH, clPurple},
    {"Sha10", O, 560, kTop, 17, kH, clPurple}, {"Sha11", O, 576, kTop, 17, kH, clPurple},
    {"Sha12", O, 368, kTop, 17, kH, clPurple}, {"Sha13", O, 384, kTop, 17, kH, clPurple},
    {"Sha14", O, 400, kTop, 17, kH, clPurple},
}};
constexpr std::size_t kFirstOptical = 7;

constexpr int L = kLightHeight;
constexpr int D = kDarkHeight;

// What each code button sets, shapes in their left-to-right order at start:
// `Sha12`, `Sha13`, `Sha14`, `Sha1` … `Sha11`. Read in pairs from `Sha13`,
// each row is its code of the word 1 1 0 1 0 0 1.
struct CodeRow {
    LineCode code;
    std::array<int, 14> heights;
};
constexpr CodeRow kCodeRows[] = {
    {LineCode::Nrz, {L, L, L, L, L, D, D, L, L, D, D, D, D, L}},
    {LineCode::BiL, {D, L, D, L, D, D, L, L, D, D, L, D, L, L}},
    {LineCode::Cmi, {L, D, D, L, L, L, D, D, D, L, D, L, D, L}},
    {LineCode::Ep1, {L, D, D, L, L, L, D, D, D, D, L, L, D, L}},
};

// Index into the row of the optical shape at `index` of the stepping order.
std::size_t RowColumn(std::size_t index) {
    const std::size_t sha = index - kFirstOptical + 1; // Sha1 … Sha14
    return sha >= 12 ? sha - 12 : sha + 2;
}

// Non-negative remainder.
std::int64_t Mod(std::int64_t a, std::int64_t m) {
    const std::int64_t r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace

int LimitOf(PulseTrain train) {
    return train == PulseTrain::Electrical ? kElectricalLimit : kOpticalLimit;
}

int StepLeft(int left, int limit) {
    return left < limit ? left + kStepPixels : left - kJumpBackPixels;
}

int LeftAfter(int start, int limit, std::int64_t ticks) {
    if (ticks < 0)
        throw std::invalid_argument("a negative number of ticks");
    std::int64_t left = start;
    // At or above the limit the shape falls back 190 a tick until it lies below.
    if (left >= limit) {
        const std::int64_t drops = (left - limit) / kJumpBackPixels + 1;
        if (ticks <= drops)
            return static_cast<int>(left - kJumpBackPixels * ticks);
        left -= kJumpBackPixels * drops;
        ticks -= drops;
    }
    // The cycle runs from the lowest point of the limit's parity, 190 below
    // it (or 189 for an odd distance), to the limit (or one past it).
    const std::int64_t parity = Mod(left - limit, 2);
    const std::int64_t bottom = limit - kJumpBackPixels + parity;
    // Below the cycle the shape climbs until it reaches the bottom.
    if (left < bottom) {
        const std::int64_t climb = (bottom - left) / kStepPixels;
        if (ticks <= climb)
            return static_cast<int>(left + kStepPixels * ticks);
        left = bottom;
        ticks -= climb;
    }
    const std::int64_t place = (left - bottom) / kStepPixels;
    return static_cast<int>(bottom + kStepPixels * ((place + ticks % kCycleTicks) % kCycleTicks));
}

LinePathAnimation::LinePathAnimation() : m_shapes(kDesigned) {}

const PulseShape& LinePathAnimation::Shape(std::string_view name) const {
    for (const PulseShape& s : m_shapes) {
        if (s.name == name)
            return s;
    }
    throw std::out_of_range("no pulse shape named " + std::string(name));
}

void LinePathAnimation::Step() {
    for (PulseShape& s : m_shapes)
        s.left = StepLeft(s.left, LimitOf(s.train));
    ++m_ticks;
}

void LinePathAnimation::SetTicks(std::int64_t ticks) {
    if (ticks < 0)
        throw std::invalid_argument("a negative number of ticks");
    for (std::size_t i = 0; i < m_shapes.size(); ++i)
        m_shapes[i].left = LeftAfter(kDesigned[i].left, LimitOf(kDesigned[i].train), ticks);
    m_ticks = ticks;
}

void LinePathAnimation::ShowCode(LineCode code) {
    for (const CodeRow& row : kCodeRows) {
        if (row.code != code)
            continue;
        for (std::size_t i = kFirstOptical; i < m_shapes.size(); ++i)
            m_shapes[i].height = row.heights[RowColumn(i)];
        return;
    }
    throw std::invalid_argument("the line path shows only the FOTS codes");
}
