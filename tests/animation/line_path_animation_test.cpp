#include "animation/line_path_animation.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<int> Lefts(const LinePathAnimation& a) {
    std::vector<int> out;
    for (const PulseShape& s : a.shapes())
        out.push_back(s.left);
    return out;
}

std::vector<int> Heights(const LinePathAnimation& a) {
    std::vector<int> out;
    for (const PulseShape& s : a.shapes())
        out.push_back(s.height);
    return out;
}

// Everything but the height, which is all a code button may change.
struct Frame {
    int left, top, width;
    Colour pen;
    bool operator==(const Frame&) const = default;
};
std::vector<Frame> Frames(const LinePathAnimation& a) {
    std::vector<Frame> out;
    for (const PulseShape& s : a.shapes())
        out.push_back({s.left, s.top, s.width, s.pen});
    return out;
}

LinePathAnimation Stepped(int ticks) {
    LinePathAnimation a;
    for (int i = 0; i < ticks; ++i)
        a.Step();
    return a;
}

LinePathAnimation AtTicks(std::int64_t ticks) {
    LinePathAnimation a;
    a.SetTicks(ticks);
    return a;
}

} // namespace

TEST(LinePathAnimation, FirstTicksFromStartUp) {
    const struct {
        int ticks;
        const char* shape;
        int left;
    } cases[] = {
        {0, "Sh1", 104},      {0, "Sha11", 576},    {1, "Sh1", 106},   {1, "Sh7", 298},
        {1, "Sha12", 370},    {1, "Sha10", 370},    {1, "Sha11", 386}, {1, "Sha13", 386},
        {2, "Sh7", 300},      {3, "Sh7", 110},      {3, "Sh1", 110},   {3, "Sha14", 406},
        {4, "Sh7", 112},      {4, "Sh1", 112},      {2, "Sha10", 372}, {2, "Sha12", 372},
        {96 + 3, "Sh1", 110}, {96 + 3, "Sh7", 110},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shape) + " after " + std::to_string(c.ticks));
        EXPECT_EQ(Stepped(c.ticks).Shape(c.shape).left, c.left);
        EXPECT_EQ(AtTicks(c.ticks).Shape(c.shape).left, c.left);
    }
}

TEST(LinePathAnimation, ShapesAtTheLimitJumpBackAndJustBelowItReachIt) {
    const struct {
        PulseTrain train;
        int left;
        int next;
    } cases[] = {
        {PulseTrain::Electrical, 300, 110}, {PulseTrain::Electrical, 298, 300},
        {PulseTrain::Electrical, 299, 301}, {PulseTrain::Electrical, 301, 111},
        {PulseTrain::Electrical, 110, 112}, {PulseTrain::Optical, 550, 360},
        {PulseTrain::Optical, 548, 550},    {PulseTrain::Optical, 560, 370},
        {PulseTrain::Optical, 360, 362},    {PulseTrain::Optical, 300, 302},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        EXPECT_EQ(StepLeft(c.left, LimitOf(c.train)), c.next);
        EXPECT_EQ(LeftAfter(c.left, LimitOf(c.train), 1), c.next);
    }
    // The designed shapes reach their limits exactly: Sh7 stands at 300 on
    // the second tick and behind the next panel's left edge on the third.
    EXPECT_EQ(AtTicks(2).Shape("Sh7").left, 300);
    EXPECT_EQ(AtTicks(3).Shape("Sh7").left, 110);
}

// The closed form against the rule applied tick by tick, for starts in and
// out of the cycle, of either parity, far above the limit and far below it.
TEST(LinePathAnimation, PositionsAfterAnyTicksEqualStepping) {
    for (PulseTrain train : {PulseTrain::Electrical, PulseTrain::Optical}) {
        const int limit = LimitOf(train);
        for (int start = -400; start <= 1000; start += 7) {
            int stepped = start;
            for (int t = 0; t <= 400; ++t) {
                ASSERT_EQ(LeftAfter(start, limit, t), stepped)
                    << "start " << start << " limit " << limit << " ticks " << t;
                stepped = StepLeft(stepped, limit);
            }
        }
    }
    LinePathAnimation stepped;
    for (int t = 0; t <= 1000; ++t) {
        ASSERT_EQ(Lefts(AtTicks(t)), Lefts(stepped)) << t;
        stepped.Step();
    }
}

TEST(LinePathAnimation, EveryShapeRepeatsEvery96TicksAfterAShortTransient) {
    // Sh1 starts below its cycle and Sha10, Sha11 above theirs.
    EXPECT_NE(Lefts(AtTicks(96)), Lefts(AtTicks(0)));
    for (std::int64_t t = 3; t < 3 + 2 * kCycleTicks; ++t)
        ASSERT_EQ(Lefts(AtTicks(t + kCycleTicks)), Lefts(AtTicks(t))) << t;
    // From the third tick on, every shape lies in its cycle, 110 … 300 or 360 … 550.
    for (std::int64_t t = 3; t < 3 * kCycleTicks; ++t) {
        const LinePathAnimation a = AtTicks(t);
        for (const PulseShape& s : a.shapes()) {
            const int limit = LimitOf(s.train);
            ASSERT_TRUE(s.left >= limit - kJumpBackPixels && s.left <= limit) << s.name;
        }
    }
    const std::int64_t million = 1'000'000;
    EXPECT_EQ(Lefts(AtTicks(million)), Lefts(AtTicks(96 + million % 96)));
    // A run of years: no overflow, still on the cycle.
    const std::int64_t huge = 4'000'000'000'000'000'000;
    EXPECT_EQ(Lefts(AtTicks(huge)), Lefts(AtTicks(96 + huge % 96)));
    EXPECT_THROW(AtTicks(-1), std::invalid_argument);
    EXPECT_THROW(LeftAfter(0, 300, -5), std::invalid_argument);
}

TEST(LinePathAnimation, PairsOfShapes192PixelsApartMoveTogetherForGood) {
    for (int t = 0; t < 300; ++t) {
        const LinePathAnimation a = AtTicks(t);
        EXPECT_EQ(a.Shape("Sha10").left == a.Shape("Sha12").left, t >= 1) << t;
        EXPECT_EQ(a.Shape("Sha11").left == a.Shape("Sha13").left, t >= 1) << t;
        EXPECT_EQ(a.Shape("Sh7").left == a.Shape("Sh1").left, t >= 3) << t;
    }
}

TEST(LinePathAnimation, CodesChangeOnlyTheOpticalHeights) {
    LinePathAnimation a = AtTicks(1234);
    const std::vector<int> start = Heights(a);
    for (std::size_t i = 0; i < start.size(); ++i) {
        const PulseShape& s = a.shapes()[i];
        if (s.train == PulseTrain::Optical)
            EXPECT_EQ(s.height, kStartOpticalHeight) << s.name;
        else
            EXPECT_EQ(s.height, s.top == 136 ? 57 : 1) << s.name;
    }
    const std::vector<Frame> before = Frames(a);
    a.ShowCode(LineCode::BiL);
    const std::vector<int> bil = Heights(a);
    a.ShowCode(LineCode::Nrz);
    EXPECT_EQ(Frames(a), before);
    EXPECT_EQ(a.ticks(), 1234);
    EXPECT_NE(Heights(a), bil);
    LinePathAnimation fresh;
    fresh.ShowCode(LineCode::Nrz);
    EXPECT_EQ(Heights(a), Heights(fresh));
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(Heights(a)[i], start[i]);
    // Ticks after a press keep the pattern.
    a.Step();
    EXPECT_EQ(Heights(a), Heights(fresh));
    EXPECT_THROW(a.ShowCode(LineCode::Chpi), std::invalid_argument);
    EXPECT_EQ(Heights(a), Heights(fresh));
}

// Each code's row, read in pairs of half-bits from Sha13 on and ending with
// Sha11/Sha12, is that code of the word the electrical train carries, read
// from Sh7 and then Sh1 … Sh6.
TEST(LinePathAnimation, EachCodesRowIsThatCodeOfTheElectricalWord) {
    const LinePathAnimation start;
    Bits word;
    for (const char* name : {"Sh7", "Sh1", "Sh2", "Sh3", "Sh4", "Sh5", "Sh6"})
        word.push_back(start.Shape(name).height == 57 ? 1 : 0);
    ASSERT_EQ(word, (Bits{1, 1, 0, 1, 0, 0, 1}));
    for (LineCode code : {LineCode::Nrz, LineCode::BiL, LineCode::Cmi, LineCode::Ep1}) {
        SCOPED_TRACE(std::string(LineCodeKey(code)));
        LinePathAnimation a;
        a.ShowCode(code);
        std::vector<int> levels;
        for (int sha : {13, 14, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
            const int h = a.Shape("Sha" + std::to_string(sha)).height;
            ASSERT_TRUE(h == kLightHeight || h == kDarkHeight) << sha;
            levels.push_back(h == kLightHeight ? 1 : 0);
        }
        const std::vector<int> encoded = Encode(code, word);
        std::vector<int> expected;
        for (std::size_t i = 0; i < encoded.size(); ++i) {
            int level = encoded[i];
            // The rows of CMI and EP-1 begin the alternation of the ones with
            // 0 0 where the encoders begin it with 1 1: in CMI that flips the
            // pairs of the ones, in EP-1, whose 0 carries the line's level
            // on, the whole line.
            if (code == LineCode::Cmi && word[i / 2] == 1)
                level = 1 - level;
            if (code == LineCode::Ep1)
                level = 1 - level;
            expected.push_back(level);
            if (code == LineCode::Nrz) // one level per bit: both half-bits
                expected.push_back(level);
        }
        EXPECT_EQ(levels, expected);
    }
}

TEST(LinePathAnimation, UnknownShapeNamesAreRefused) {
    const LinePathAnimation a;
    EXPECT_THROW(a.Shape("Sha15"), std::out_of_range);
    EXPECT_THROW(a.Shape("sh1"), std::out_of_range);
    std::map<std::string_view, int> names;
    for (const PulseShape& s : a.shapes())
        ++names[s.name];
    EXPECT_EQ(names.size(), LinePathAnimation::kShapeCount);
}
