#include "codes/line_code.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using XY = std::pair<double, double>;

std::vector<XY> Coordinates(const std::vector<SignalPoint>& points) {
    std::vector<XY> out;
    for (const SignalPoint& p : points)
        out.emplace_back(p.x, p.y);
    return out;
}

Bits B(std::string_view text) {
    return CombinationBits(text).value();
}

} // namespace

TEST(SignalPoints, BarsAndSourcesOfTheWorkedExamples) {
    const struct {
        LineCode code;
        std::string_view combination;
        std::vector<XY> bars;
        std::vector<XY> sources;
        Colour sourceColour;
    } cases[] = {
        {LineCode::Pit,
         "110100",
         {{1, 1}, {2, -1}, {3, 0}, {4, 1}, {5, -1}, {6, 1}},
         {{1, 1}, {2, 1}, {3, 0}, {4, 1}, {5, 0}, {6, 0}},
         clBlue},
        {LineCode::Chpi,
         "110100",
         {{1, 1}, {2, -1}, {3, 0}, {4, 1}, {5, 0}, {6, 0}},
         {{1, 1}, {2, 1}, {3, 0}, {4, 1}, {5, 0}, {6, 0}},
         clRed},
        {LineCode::Abs,
         "110100",
         {{1, .5},
          {2, -.5},
          {3, .5},
          {4, -.5},
          {5, -.5},
          {6, .5},
          {7, .5},
          {8, -.5},
          {9, -.5},
          {10, .5},
          {11, -.5},
          {12, .5}},
         {{2, 1}, {4, 1}, {6, 0}, {8, 1}, {10, 0}, {12, 0}},
         clRed},
        {LineCode::Nrz, "101100", {{1, 1}, {2, 0}, {3, 1}, {4, 1}, {5, 0}, {6, 0}}, {}, clRed},
        {LineCode::BiL,
         "101100",
         {{1, 1},
          {2, 0},
          {3, 0},
          {4, 1},
          {5, 1},
          {6, 0},
          {7, 1},
          {8, 0},
          {9, 0},
          {10, 1},
          {11, 0},
          {12, 1}},
         {{2, 1}, {4, 0}, {6, 1}, {8, 1}, {10, 0}, {12, 0}},
         clRed},
        {LineCode::Cmi,
         "101100",
         {{1, 1},
          {2, 1},
          {3, 1},
          {4, 0},
          {5, 0},
          {6, 0},
          {7, 1},
          {8, 1},
          {9, 1},
          {10, 0},
          {11, 1},
          {12, 0}},
         {{2, 1}, {4, 0}, {6, 1}, {8, 1}, {10, 0}, {12, 0}},
         clRed},
        {LineCode::Ep1,
         "101100",
         {{1, 1},
          {2, 1},
          {3, 1},
          {4, 0},
          {5, 0},
          {6, 0},
          {7, 1},
          {8, 1},
          {9, 1},
          {10, 0},
          {11, 0},
          {12, 1}},
         {{2, 1}, {4, 0}, {6, 1}, {8, 1}, {10, 0}, {12, 0}},
         clRed},
    };
    for (const auto& c : cases) {
        NoiseSource noise;
        const SignalPoints points = BuildSignalPoints(c.code, B(c.combination), noise);
        const auto bars = points.Series(0);
        const auto noisy = points.Series(1);
        const auto sources = points.Series(2);
        SCOPED_TRACE(LineCodeKey(c.code));
        EXPECT_EQ(Coordinates(bars), c.bars);
        EXPECT_EQ(Coordinates(sources), c.sources);
        EXPECT_EQ(noisy.size(), 10 * c.bars.size());
        EXPECT_EQ(points.points.size(), bars.size() + noisy.size() + sources.size());
        for (const SignalPoint& p : bars)
            EXPECT_EQ(p.colour, clBlue);
        for (const SignalPoint& p : noisy)
            EXPECT_EQ(p.colour, clRed);
        for (const SignalPoint& p : sources)
            EXPECT_EQ(p.colour, c.sourceColour);
        // One noise value per noisy point and no other.
        NoiseSource expected;
        for (std::size_t k = 0; k < noisy.size(); ++k)
            expected.NoiseSample();
        EXPECT_EQ(noise.state(), expected.state());
    }
}

TEST(SignalPoints, NoisyPointsFollowTheirLevelInSeriesOrder) {
    for (LineCode code : kAllLineCodes) {
        SCOPED_TRACE(LineCodeKey(code));
        NoiseSource noise;
        NoiseSource replay;
        const Bits bits = B("1000010011");
        const std::vector<int> symbols = Encode(code, bits);
        const SignalPoints points = BuildSignalPoints(code, bits, noise);
        const auto noisy = points.Series(1);
        ASSERT_EQ(noisy.size(), 10 * symbols.size());
        const double shift = code == LineCode::Abs ? -0.6 : 0.0;
        for (std::size_t c = 0; c < symbols.size(); ++c) {
            for (int j = 1; j <= 10; ++j) {
                const SignalPoint& p = noisy[10 * c + (j - 1)];
                EXPECT_DOUBLE_EQ(p.x, static_cast<double>(c) + j / 10.0);
                const double lift = p.y - (symbols[c] + shift);
                EXPECT_EQ(p.y, (symbols[c] + shift) + replay.NoiseSample());
                EXPECT_GE(lift, -1e-12);
                EXPECT_LT(lift, 1.0 / 6 + 1e-12);
            }
        }
        // The tenth sample of each level lies on its bar.
        const auto bars = points.Series(0);
        for (std::size_t c = 0; c < bars.size(); ++c)
            EXPECT_EQ(noisy[10 * c + 9].x, bars[c].x);
    }
}

TEST(SignalPoints, AppendOrderPutsPitSourcesFirstAndOthersLast) {
    for (LineCode code : kAllLineCodes) {
        SCOPED_TRACE(LineCodeKey(code));
        NoiseSource noise;
        const SignalPoints points = BuildSignalPoints(code, B("110100"), noise);
        const std::vector<SignalPoint>& all = points.points;
        const std::size_t sources = points.Series(2).size();
        if (code == LineCode::Pit) {
            for (std::size_t k = 0; k < sources; ++k)
                EXPECT_EQ(all[k].series, 2);
        } else {
            for (std::size_t k = all.size() - sources; k < all.size(); ++k)
                EXPECT_EQ(all[k].series, 2);
        }
        // Inside the symbol loop every bar precedes its ten noisy samples.
        const std::size_t first = code == LineCode::Pit ? sources : 0;
        for (std::size_t k = first; k < all.size() - (code == LineCode::Pit ? 0 : sources);
             k += 11) {
            EXPECT_EQ(all[k].series, 0);
            for (std::size_t j = 1; j <= 10; ++j)
                EXPECT_EQ(all[k + j].series, 1);
        }
    }
}

TEST(SignalPoints, FirstFormingAfterStartIsBarelyLifted) {
    NoiseSource fresh;
    const auto chpi = BuildSignalPoints(LineCode::Chpi, B("110100"), fresh).Series(1);
    EXPECT_DOUBLE_EQ(chpi.front().y, 1 + 3.880510727564494e-11);
    NoiseSource fresh2;
    const auto abs = BuildSignalPoints(LineCode::Abs, B("110100"), fresh2).Series(1);
    EXPECT_DOUBLE_EQ(abs.front().y, 1 - 0.6 + 3.880510727564494e-11);
}

TEST(SignalPoints, RepeatedFormingsContinueOneSequence) {
    NoiseSource run1;
    NoiseSource run2;
    const auto a1 = BuildSignalPoints(LineCode::Nrz, B("101100"), run1);
    const auto b1 = BuildSignalPoints(LineCode::Nrz, B("101100"), run1);
    const auto a2 = BuildSignalPoints(LineCode::Nrz, B("101100"), run2);
    const auto b2 = BuildSignalPoints(LineCode::Nrz, B("101100"), run2);
    EXPECT_EQ(a1.points, a2.points); // a restart repeats the curves
    EXPECT_EQ(b1.points, b2.points);
    EXPECT_NE(a1.Series(1), b1.Series(1)); // a second press draws new noise
    EXPECT_EQ(a1.Series(0), b1.Series(0));
}
