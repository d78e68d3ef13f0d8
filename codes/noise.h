#pragma once

#include <cstdint>

// The additive noise of the noisy line-signal curve.
//
// A linear congruential generator on a 32-bit state that nothing ever seeds:
// the program's k-th noise value since start is always the same number, so a
// student who repeats the same presses after a restart sees the same curves.
class NoiseSource {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;
    static constexpr std::uint32_t kIncrement = 1u;

    // Advances the state one step and returns state / 2^32, in [0, 1).
    // The state is read unsigned, so states of 2^31 and above give 0.5 and up.
    double UniformRandom() {
        m_state = m_state * kMultiplier + kIncrement;
        return static_cast<double>(m_state) * 0x1p-32;
    }

    // One noise value in [0, 1/6): the noise only ever lifts a point.
    double NoiseSample() { return UniformRandom() / 6; }

    std::uint32_t state() const { return m_state; }

private:
    std::uint32_t m_state = 0;
};

// The one generator of the process (`RandomState` starts at 0 with the
// program and is shared by both workbenches and every forming).
NoiseSource& ProgramNoise();

// The program-wide generator's operations.
inline double UniformRandom() {
    return ProgramNoise().UniformRandom();
}
inline double NoiseSample() {
    return ProgramNoise().NoiseSample();
}
