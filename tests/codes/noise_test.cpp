#include "codes/noise.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(NoiseSource, FirstSevenValuesAndStatesFromStart) {
    struct Step {
        std::uint32_t state;
        double value;
    };
    const Step steps[] = {
        {1u, 2.3283064365386963e-10},       {134775814u, 0.031379939522594213},
        {3698175007u, 0.8610484672244638},  {870078620u, 0.20258096512407064},
        {1172187917u, 0.2729212671983987},  {2884733762u, 0.6716544185765088},
        {1368768587u, 0.31869127112440765},
    };
    NoiseSource noise;
    for (const Step& s : steps) {
        EXPECT_EQ(noise.UniformRandom(), s.value);
        EXPECT_EQ(noise.state(), s.state);
    }
}

TEST(NoiseSource, SamplesAreValuesDividedBySix) {
    NoiseSource values;
    NoiseSource samples;
    // The first noisy point after start is lifted by only this much.
    EXPECT_DOUBLE_EQ(samples.NoiseSample(), 3.880510727564494e-11);
    values.UniformRandom();
    for (int k = 0; k < 1000; ++k) {
        const double v = values.UniformRandom();
        const double s = samples.NoiseSample();
        EXPECT_EQ(s, v / 6);
        EXPECT_GE(s, 0.0);
        EXPECT_LT(s, 1.0 / 6);
    }
}

TEST(NoiseSource, HighStatesReadUnsignedAndNeverOne) {
    // The third state, 3698175007, is above 2^31: a signed reading would be negative.
    NoiseSource noise;
    noise.UniformRandom();
    noise.UniformRandom();
    EXPECT_GE(noise.UniformRandom(), 0.5);
    // The largest state gives the largest value, still below 1.
    EXPECT_EQ(std::numeric_limits<std::uint32_t>::max() * 0x1p-32, 0.9999999997671694);
}

TEST(NoiseSource, ProgramGeneratorIsOneSharedSequence) {
    const std::uint32_t before = ProgramNoise().state();
    NoiseSource copy = ProgramNoise();
    EXPECT_EQ(UniformRandom(), copy.UniformRandom());
    EXPECT_EQ(NoiseSample(), copy.NoiseSample());
    EXPECT_NE(ProgramNoise().state(), before);
}
