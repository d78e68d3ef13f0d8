#pragma once

#include "codes/colour.h"
#include "codes/line_code.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The animated line path: an electrical pulse train from the forming
// equipment to the line equipment and an optical one from the line equipment
// into the cable. Every 50 ms tick moves each pulse shape 2 pixels to the
// right until it reaches its train's limit, and on the tick after that 190
// pixels back, so the trains seem to flow out of one block into the next.
//
// The positions are a pure function of the number of ticks since start-up:
// once in its cycle, a shape runs through 96 positions and repeats, so the
// state after any number of ticks is computed at once. That lets the window
// stay idle while it is hidden and still show the shapes where the ticks of
// the whole run have carried them.

enum class PulseTrain { Electrical, Optical };

// One pulse shape: a rectangle drawn with a silver brush and an outline in
// its pen colour, at `left`, `top` with `width` by `height` pixels.
struct PulseShape {
    std::string_view name;
    PulseTrain train;
    int left;
    int top;
    int width;
    int height;
    Colour pen;
};

inline constexpr Colour kPulseBrush = clSilver;
inline constexpr int kTickMilliseconds = 50;
inline constexpr int kStepPixels = 2;
inline constexpr int kJumpBackPixels = 190;
// Positions a shape runs through in its cycle, and so ticks per cycle.
inline constexpr int kCycleTicks = 96;

// Optical heights: a light half-bit and a dark one (nothing drawn).
inline constexpr int kLightHeight = 57;
inline constexpr int kDarkHeight = 0;
// Every optical shape before the first code is chosen: all light.
inline constexpr int kStartOpticalHeight = 56;

// The left edge at or above which a train's shapes jump back.
int LimitOf(PulseTrain train);

// One tick for a left edge: 2 pixels on below the limit, 190 back at or above it.
int StepLeft(int left, int limit);

// The left edge `ticks` ticks after `start`, the same as `ticks` calls of
// StepLeft, in constant time for any number of ticks. `ticks` >= 0.
int LeftAfter(int start, int limit, std::int64_t ticks);

class LinePathAnimation {
public:
    static constexpr std::size_t kShapeCount = 21;
    using Shapes = std::array<PulseShape, kShapeCount>;

    // The designed start: no tick yet, every optical shape 56 high.
    LinePathAnimation();

    // The shapes in stepping order, `Sh1` … `Sh7`, `Sha1` … `Sha14`; the
    // window draws them in this order, a later one over an earlier one.
    const Shapes& shapes() const { return m_shapes; }
    // A shape by its name; throws std::out_of_range for a name it lacks.
    const PulseShape& Shape(std::string_view name) const;

    // Ticks since start-up that the positions stand at.
    std::int64_t ticks() const { return m_ticks; }

    // One tick, shape by shape in stepping order.
    void Step();
    // The positions after `ticks` ticks since start-up, whatever the
    // positions were before; throws std::invalid_argument for a negative count.
    void SetTicks(std::int64_t ticks);

    // Chooses the code the optical train shows (NRZ, BI-L, CMI or EP-1):
    // sets the optical heights of the code's row and nothing else, so the
    // new pattern appears where the shapes have got to. Throws
    // std::invalid_argument for a code of the other workbench.
    void ShowCode(LineCode code);

private:
    Shapes m_shapes;
    std::int64_t m_ticks = 0;
};
