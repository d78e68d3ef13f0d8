#include "codes/energy_density.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTiny = 1e-30;

// `digits` significant digits of agreement.
void ExpectClose(double actual, double expected, int digits) {
    const double tolerance = std::abs(expected) * std::pow(10.0, 1 - digits) / 2;
    EXPECT_NEAR(actual, expected, tolerance);
}

} // namespace

TEST(Spectrum, DtsPanelsAtTellingPoints) {
    const struct {
        LineCode code;
        int i;
        double x;
        double y; // < 0: below 1e-30
        int digits;
    } cases[] = {
        {LineCode::Pit, 1, 0.01, 0.999671056, 9},
        {LineCode::Pit, 50, 0.5, 0.405284735, 9},
        {LineCode::Pit, 100, 1.0, -1, 0},
        {LineCode::Pit, 200, 2.0, -1, 0},
        {LineCode::Abs, 1, 0.01, 0.000246699526, 9},
        {LineCode::Abs, 50, 0.5, 0.405284735, 9},
        {LineCode::Abs, 100, 1.0, 0.405284735, 9},
        {LineCode::Abs, 200, 2.0, -1, 0},
        {LineCode::Chpi, 1, 0.01, 0.00197262248, 9},
        {LineCode::Chpi, 25, 0.25, 0.810569469, 9},
        {LineCode::Chpi, 50, 0.5, 0.810569469, 9},
        {LineCode::Chpi, 100, 1.0, -1, 0},
        {LineCode::Kvp3, 1, 0.005, 0.0849133, 6},
        {LineCode::Kvp3, 41, 0.205, 1.4083213, 8},
        {LineCode::Kvp3, 159, 0.795, 1.4083213, 8},
        {LineCode::Kvp3, 50, 0.25, 1.375, 12},
        {LineCode::Kvp3, 100, 0.5, 1.0, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << LineCodeKey(c.code) << " i=" << c.i);
        const SpectrumPoint p = SpectrumValue(c.code, c.i);
        EXPECT_DOUBLE_EQ(p.x, c.x);
        EXPECT_EQ(p.colour, clRed);
        if (c.y < 0)
            EXPECT_LT(std::abs(p.y), kTiny);
        else
            ExpectClose(p.y, c.y, c.digits);
    }
    EXPECT_EQ(SpectrumValue(LineCode::Kvp3, 200).y, 0.0);
}

TEST(Spectrum, FotsPanelsAtTellingPoints) {
    // x, then NRZ, BI-L, CMI, EP-1; < 0 means below 1e-30.
    const struct {
        int i;
        double nrz, bil, cmi, ep1;
    } rows[] = {
        {1, 0.19993, 0.00004934, 0.00039452, 0.015804},
        {24, 0.16486, 0.025843, 0.15451, 0.32115},
        {25, 0.16211, 0.027814, 0.16211, 0.057316},
        {50, 0.081057, 0.081057, 0.16211, 0.0081057},
        {100, -1, 0.081057, -1, -1},
        {200, -1, -1, -1, -1},
    };
    for (const auto& r : rows) {
        const struct {
            LineCode code;
            double y;
        } cells[] = {{LineCode::Nrz, r.nrz},
                     {LineCode::BiL, r.bil},
                     {LineCode::Cmi, r.cmi},
                     {LineCode::Ep1, r.ep1}};
        for (const auto& cell : cells) {
            SCOPED_TRACE(testing::Message() << LineCodeKey(cell.code) << " i=" << r.i);
            const SpectrumPoint p = SpectrumValue(cell.code, r.i);
            EXPECT_DOUBLE_EQ(p.x, r.i / 100.0);
            if (cell.y < 0)
                EXPECT_LT(std::abs(p.y), kTiny);
            else
                ExpectClose(p.y, cell.y, 5);
        }
    }
}

TEST(Spectrum, LargestSampleOfEachFotsCurve) {
    const struct {
        LineCode code;
        int i;
        double y;
    } cases[] = {{LineCode::Nrz, 1, 0.19993},
                 {LineCode::BiL, 74, 0.10501},
                 {LineCode::Cmi, 37, 0.21002},
                 {LineCode::Ep1, 24, 0.32115}};
    for (const auto& c : cases) {
        int best = 1;
        for (int i = 1; i <= kSpectrumSamples; ++i) {
            const double y = SpectrumValue(c.code, i).y;
            EXPECT_TRUE(std::isfinite(y) && y >= 0) << i;
            if (y > SpectrumValue(c.code, best).y)
                best = i;
        }
        EXPECT_EQ(best, c.i) << LineCodeKey(c.code);
        ExpectClose(SpectrumValue(c.code, best).y, c.y, 5);
    }
}

TEST(Comparison, DtsCurves) {
    const struct {
        int curve;
        int i;
        double x;
        double y; // < 0: below 1e-30
        int digits;
        Colour colour;
    } cases[] = {
        {0, 100, 1.0, -1, 0, clRed},           {1, 100, 1.0, 0.405284735, 9, clNavy},
        {2, 100, 0.5, 1.2, 15, clBlue},        {3, 100, 1.0, -1, 0, clPurple},
        {2, 1, 0.005, 0.05638665, 7, clBlue},  {3, 1, 0.01, 0.00194690035, 9, clPurple},
        {2, 63, 0.315, 1.23265065, 9, clBlue}, {2, 137, 0.685, 1.23265065, 9, clBlue},
        {3, 50, 0.5, 0.8, 12, clPurple},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "curve " << c.curve << " i=" << c.i);
        const SpectrumPoint p = ComparisonValue(Workbench::Dts, c.curve, c.i);
        EXPECT_DOUBLE_EQ(p.x, c.x);
        EXPECT_EQ(p.colour, c.colour);
        if (c.y < 0)
            EXPECT_LT(std::abs(p.y), kTiny);
        else
            ExpectClose(p.y, c.y, c.digits);
    }
    // The high-density numerator leaves the 32-bit range in its terms near
    // the ends; computed exactly, the curve falls to exactly 0 at x = 1.
    EXPECT_EQ(ComparisonValue(Workbench::Dts, 2, 200).y, 0.0);
    // БВН and АБС are the panels' curves up to rounding.
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        EXPECT_NEAR(ComparisonValue(Workbench::Dts, 0, i).y, SpectrumValue(LineCode::Pit, i).y,
                    1e-15);
        EXPECT_NEAR(ComparisonValue(Workbench::Dts, 1, i).y, SpectrumValue(LineCode::Abs, i).y,
                    1e-15);
    }
}

TEST(Comparison, FotsCurvesAreThePanelsExceptTheStretchedEp1) {
    const Colour colours[] = {clRed, clNavy, clBlue, clPurple};
    for (int i = 1; i <= kSpectrumSamples; ++i) {
        for (int curve = 0; curve < kComparisonCurves; ++curve) {
            const SpectrumPoint p = ComparisonValue(Workbench::Fots, curve, i);
            EXPECT_EQ(p.colour, colours[curve]);
            EXPECT_DOUBLE_EQ(p.x, i / 100.0);
        }
        EXPECT_EQ(ComparisonValue(Workbench::Fots, 0, i).y, SpectrumValue(LineCode::Nrz, i).y);
        EXPECT_EQ(ComparisonValue(Workbench::Fots, 1, i).y, SpectrumValue(LineCode::BiL, i).y);
        EXPECT_EQ(ComparisonValue(Workbench::Fots, 3, i).y, SpectrumValue(LineCode::Cmi, i).y);
        if (i % 2 == 0) { // G_cmp(x) = G_EP-1(x/2)
            EXPECT_NEAR(ComparisonValue(Workbench::Fots, 2, i).y,
                        SpectrumValue(LineCode::Ep1, i / 2).y, 1e-12);
        }
    }
    const struct {
        int i;
        double y;
    } ep1[] = {{1, 0.015793},  {24, 0.018568},   {25, 0.018887},
               {50, 0.057316}, {100, 0.0081057}, {47, 0.37507}};
    for (const auto& c : ep1)
        ExpectClose(ComparisonValue(Workbench::Fots, 2, c.i).y, c.y, 5);
    EXPECT_LT(std::abs(ComparisonValue(Workbench::Fots, 2, 200).y), kTiny);
}
