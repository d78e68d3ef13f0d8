#include "sound/player_model.h"

#include "tests/sound/sound_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace std::chrono_literals;
using B = PlayerButton;
using S = PlayerState;

const char* Name(PlayerButton b) {
    switch (b) {
    case B::Play:
        return "Play";
    case B::Pause:
        return "Pause";
    case B::Stop:
        return "Stop";
    case B::Step:
        return "Step";
    case B::Back:
        return "Back";
    }
    return "?";
}

std::string Enabled(const PlayerModel& model) {
    std::string names;
    for (PlayerButton b : kPlayerButtons) {
        if (model.IsEnabled(b))
            names += (names.empty() ? "" : " ") + std::string(Name(b));
    }
    return names;
}

// A 3-second ramp at 8000 Hz: one second is 8000 frames.
class Player : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSound(m_folder / "three.wav", 8000, 1, 24000);
        WriteSound(m_folder / "half.wav", 8000, 1, 4000);
    }
    SoundOpening Three() const { return OpenSoundFile(m_folder / "three.wav"); }

    TempFolder m_folder;
    FakeClock m_clock;
    SilentOutput m_output;
    PlayerModel m_model{m_clock, m_output};
};

// How a player is brought into each state before a button is tried there.
using Setup = std::function<void(Player&, PlayerModel&, FakeClock&)>;
struct Situation {
    const char* name;
    Setup setup;
    PlayerState state;
    std::int64_t positionMs;
    const char* enabled;
};

const Situation kSituations[] = {
    {"no file", [](Player&, PlayerModel&, FakeClock&) {}, S::Disabled, 0, ""},
    {"stopped", [](Player&, PlayerModel&, FakeClock&) {}, S::Stopped, 0, "Play Step"},
    {"playing at 0.5 s",
     [](Player&, PlayerModel& m, FakeClock& c) {
         m.Press(B::Play);
         c.Advance(500ms);
     },
     S::Playing, 500, "Pause Stop Step Back"},
    {"playing at 2.5 s",
     [](Player&, PlayerModel& m, FakeClock& c) {
         m.Press(B::Play);
         c.Advance(2500ms);
     },
     S::Playing, 2500, "Pause Stop Step Back"},
    {"paused at 0.5 s",
     [](Player&, PlayerModel& m, FakeClock& c) {
         m.Press(B::Play);
         c.Advance(500ms);
         m.Press(B::Pause);
         c.Advance(10s); // a paused player stays where it is
     },
     S::Paused, 500, "Play Stop Step Back"},
    {"paused at the start",
     [](Player&, PlayerModel& m, FakeClock&) {
         m.Press(B::Step);
         m.Press(B::Back);
     },
     S::Paused, 0, "Play Stop Step"},
    {"played to the end",
     [](Player&, PlayerModel& m, FakeClock& c) {
         m.Press(B::Play);
         c.Advance(4s);
     },
     S::AtEnd, 3000, "Play Stop Back"},
    {"stepped to the end",
     [](Player&, PlayerModel& m, FakeClock&) {
         for (int i = 0; i < 3; ++i)
             m.Press(B::Step);
     },
     S::AtEnd, 3000, "Play Stop Back"},
};

TEST_F(Player, EnablesTheButtonsThatMakeSenseInEachState) {
    for (const Situation& s : kSituations) {
        SCOPED_TRACE(s.name);
        PlayerModel model(m_clock, m_output);
        if (std::string(s.name) != "no file")
            model.Open(Three());
        s.setup(*this, model, m_clock);
        EXPECT_EQ(model.State(), s.state);
        EXPECT_EQ(model.Position(), std::chrono::milliseconds(s.positionMs));
        EXPECT_EQ(Enabled(model), s.enabled);
    }
}

// Every button pressed in every state: where the player goes, where its
// position stands, and whether sound is going out. A button that is not
// enabled changes nothing.
TEST_F(Player, EveryButtonInEveryState) {
    const struct {
        const char* situation;
        PlayerButton button;
        PlayerState state;
        std::int64_t positionMs;
        bool sounding;
    } cases[] = {
        {"no file", B::Play, S::Disabled, 0, false},
        {"no file", B::Pause, S::Disabled, 0, false},
        {"no file", B::Stop, S::Disabled, 0, false},
        {"no file", B::Step, S::Disabled, 0, false},
        {"no file", B::Back, S::Disabled, 0, false},

        {"stopped", B::Play, S::Playing, 0, true},
        {"stopped", B::Pause, S::Stopped, 0, false},
        {"stopped", B::Stop, S::Stopped, 0, false},
        {"stopped", B::Step, S::Paused, 1000, false},
        {"stopped", B::Back, S::Stopped, 0, false},

        {"playing at 0.5 s", B::Play, S::Playing, 500, true},
        {"playing at 0.5 s", B::Pause, S::Paused, 500, false},
        {"playing at 0.5 s", B::Stop, S::Stopped, 0, false},
        {"playing at 0.5 s", B::Step, S::Playing, 1500, true},
        {"playing at 0.5 s", B::Back, S::Playing, 0, true},

        {"playing at 2.5 s", B::Step, S::AtEnd, 3000, false},
        {"playing at 2.5 s", B::Back, S::Playing, 1500, true},

        {"paused at 0.5 s", B::Play, S::Playing, 500, true},
        {"paused at 0.5 s", B::Pause, S::Paused, 500, false},
        {"paused at 0.5 s", B::Stop, S::Stopped, 0, false},
        {"paused at 0.5 s", B::Step, S::Paused, 1500, false},
        {"paused at 0.5 s", B::Back, S::Paused, 0, false},

        {"paused at the start", B::Play, S::Playing, 0, true},
        {"paused at the start", B::Back, S::Paused, 0, false},
        {"paused at the start", B::Stop, S::Stopped, 0, false},

        // Played out, the output is left to run dry on its own.
        {"played to the end", B::Play, S::Playing, 0, true},
        {"played to the end", B::Pause, S::AtEnd, 3000, true},
        {"played to the end", B::Stop, S::Stopped, 0, false},
        {"played to the end", B::Step, S::AtEnd, 3000, true},
        {"played to the end", B::Back, S::Paused, 2000, false},

        {"stepped to the end", B::Play, S::Playing, 0, true},
        {"stepped to the end", B::Pause, S::AtEnd, 3000, false},
        {"stepped to the end", B::Stop, S::Stopped, 0, false},
        {"stepped to the end", B::Step, S::AtEnd, 3000, false},
        {"stepped to the end", B::Back, S::Paused, 2000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.situation) + ", " + Name(c.button));
        const Situation* s = nullptr;
        for (const Situation& candidate : kSituations)
            s = std::string(candidate.name) == c.situation ? &candidate : s;
        ASSERT_NE(s, nullptr);
        SilentOutput output;
        PlayerModel model(m_clock, output);
        if (std::string(s->name) != "no file")
            model.Open(Three());
        s->setup(*this, model, m_clock);
        model.Press(c.button);
        EXPECT_EQ(model.State(), c.state);
        EXPECT_EQ(model.Position(), std::chrono::milliseconds(c.positionMs));
        EXPECT_EQ(output.Running(), c.sounding);
    }
}

TEST_F(Player, StepAndBackMoveOneSecondClampedToTheFile) {
    m_model.Open(OpenSoundFile(m_folder / "half.wav")); // half a second long
    m_model.Press(B::Step);
    EXPECT_EQ(m_model.State(), S::AtEnd);
    EXPECT_EQ(m_model.PositionFrames(), 4000);
    m_model.Press(B::Back);
    EXPECT_EQ(m_model.State(), S::Paused);
    EXPECT_EQ(m_model.PositionFrames(), 0);
    EXPECT_FALSE(m_model.IsEnabled(B::Back));

    m_model.Open(Three());
    const struct {
        PlayerButton button;
        std::int64_t frames;
    } walk[] = {{B::Step, 8000},  {B::Step, 16000}, {B::Back, 8000}, {B::Step, 16000},
                {B::Step, 24000}, {B::Back, 16000}, {B::Back, 8000}, {B::Back, 0}};
    for (const auto& w : walk) {
        m_model.Press(w.button);
        EXPECT_EQ(m_model.PositionFrames(), w.frames) << Name(w.button);
    }
    // While playing, Back from under a second goes to the start and plays on.
    m_model.Press(B::Play);
    m_clock.Advance(300ms);
    m_model.Press(B::Back);
    EXPECT_EQ(m_model.State(), S::Playing);
    EXPECT_EQ(m_model.PositionFrames(), 0);
}

TEST_F(Player, TheOutputPullsTheSoundFromThePosition) {
    m_model.Open(Three());
    m_model.Press(B::Play);
    std::vector<std::int16_t> block = m_output.Pull(100);
    ASSERT_EQ(block.size(), 100u);
    EXPECT_EQ(block.front(), RampSample(0));
    EXPECT_EQ(block.back(), RampSample(99));

    m_clock.Advance(500ms);
    m_model.Press(B::Pause);
    EXPECT_TRUE(m_output.Pull(10).empty());
    m_model.Press(B::Play);
    EXPECT_EQ(m_output.Pull(1).at(0), RampSample(4000));
    m_model.Press(B::Step);
    EXPECT_EQ(m_output.Pull(1).at(0), RampSample(12000));
    m_model.Press(B::Back);
    EXPECT_EQ(m_output.Pull(1).at(0), RampSample(4000));

    // Blocks run on from the frame pulled last to the end of the file, and dry.
    std::size_t frames = 0;
    while (const std::size_t n = m_output.Pull(1024).size())
        frames += n;
    EXPECT_EQ(frames, 24000u - 4001u);
}

TEST_F(Player, TwoPlayersOnOneClockPlayAndStopApart) {
    SilentOutput outputA, outputB;
    PlayerModel a(m_clock, outputA), b(m_clock, outputB);
    a.Open(Three());
    b.Open(Three());
    a.Press(B::Play);
    m_clock.Advance(500ms);
    b.Press(B::Play);
    EXPECT_EQ(a.State(), S::Playing) << "starting one player does not stop another";
    m_clock.Advance(1s);
    EXPECT_EQ(a.Position(), 1500ms);
    EXPECT_EQ(b.Position(), 1000ms);
    EXPECT_EQ(outputA.Pull(1).at(0), RampSample(0));
    EXPECT_EQ(outputB.Pull(1).at(0), RampSample(0));

    a.Press(B::Pause);
    EXPECT_EQ(b.State(), S::Playing);
    EXPECT_TRUE(outputB.Running());
    b.Press(B::Stop);
    EXPECT_EQ(a.State(), S::Paused);
    EXPECT_EQ(a.Position(), 1500ms);
    m_clock.Advance(2s);
    a.Press(B::Play);
    m_clock.Advance(2s);
    EXPECT_EQ(a.State(), S::AtEnd);
    EXPECT_EQ(b.State(), S::Stopped);
}

TEST_F(Player, PlaysToTheEndByTheClockAndStartsAgainFromTheTop) {
    m_model.Open(OpenSoundFile(m_folder / "half.wav"));
    m_model.Press(B::Play);
    m_clock.Advance(499ms);
    EXPECT_EQ(m_model.State(), S::Playing);
    m_clock.Advance(2ms);
    EXPECT_EQ(m_model.State(), S::AtEnd);
    EXPECT_EQ(m_model.PositionFrames(), m_model.LengthFrames());
    EXPECT_EQ(m_model.Length(), 500ms);
    m_model.Press(B::Play);
    EXPECT_EQ(m_model.State(), S::Playing);
    EXPECT_EQ(m_model.PositionFrames(), 0);
    EXPECT_EQ(m_output.starts, 2);
}

// Each faulty file gives a disabled player whose reason is the refusal's,
// and no button of it does anything.
TEST_F(Player, AFaultyFileDisablesThePlayerWithItsReason) {
    WriteSound(m_folder / "six.wav", 8000, 6, 100, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16);
    WriteBytes(m_folder / "empty.wav", {});
    WriteBytes(m_folder / "text.wav", std::vector<std::byte>(100, std::byte{'a'}));
    std::vector<std::byte> header = ReadBytes(m_folder / "three.wav");
    header.resize(30);
    WriteBytes(m_folder / "cut.wav", header);
    WriteBytes(m_folder / "huge.wav", WavWithClaim(0xFFFFFFF0u, 16));
    const struct {
        const char* file;
        SoundProblem problem;
    } cases[] = {{"missing.wav", SoundProblem::Missing}, {"empty.wav", SoundProblem::Empty},
                 {"text.wav", SoundProblem::NotSound},   {"cut.wav", SoundProblem::Truncated},
                 {"huge.wav", SoundProblem::Truncated},  {"six.wav", SoundProblem::Unsupported}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SilentOutput output;
        PlayerModel model(m_clock, output);
        const SoundOpening opening = OpenSoundFile(m_folder / c.file);
        ASSERT_FALSE(opening);
        const std::string reason = opening.error.text;
        model.Open(OpenSoundFile(m_folder / c.file));
        EXPECT_EQ(model.State(), S::Disabled);
        EXPECT_EQ(model.FileProblem(), c.problem);
        EXPECT_EQ(model.DisabledReason(), reason);
        EXPECT_FALSE(reason.empty());
        for (PlayerButton b : kPlayerButtons)
            model.Press(b);
        EXPECT_EQ(model.State(), S::Disabled);
        EXPECT_EQ(output.starts, 0);
    }
}

TEST_F(Player, WithoutASoundDeviceThePlayerIsDisabledWithTheReason) {
    m_output.noDevice = "нет звукового устройства";
    m_model.Open(Three());
    EXPECT_EQ(m_model.State(), S::Disabled);
    EXPECT_EQ(m_model.DisabledReason(), "нет звукового устройства");
    EXPECT_TRUE(m_model.HasFile());
    EXPECT_FALSE(m_model.FileProblem().has_value());
    EXPECT_EQ(Enabled(m_model), "");

    // A device that turns up brings the player back, at the start.
    m_output.noDevice.reset();
    m_model.RecheckOutput();
    EXPECT_EQ(m_model.State(), S::Stopped);
    m_model.Press(B::Play);
    EXPECT_TRUE(m_output.Running());

    // One that goes away silences it.
    m_output.noDevice = "нет звукового устройства";
    m_model.RecheckOutput();
    EXPECT_EQ(m_model.State(), S::Disabled);
    EXPECT_FALSE(m_output.Running());

    // A device that refuses to start, or fails while playing, does the same.
    m_output.noDevice.reset();
    m_model.RecheckOutput();
    m_output.refuseStart = "звуковое устройство не открывается";
    m_model.Press(B::Play);
    EXPECT_EQ(m_model.State(), S::Disabled);
    EXPECT_EQ(m_model.DisabledReason(), "звуковое устройство не открывается");

    m_output.refuseStart.reset();
    PlayerModel other(m_clock, m_output);
    other.Open(Three());
    other.Press(B::Play);
    other.OutputFailed("звуковое устройство отказало");
    EXPECT_EQ(other.State(), S::Disabled);
    EXPECT_EQ(other.DisabledReason(), "звуковое устройство отказало");
    EXPECT_FALSE(m_output.Running());
}

TEST_F(Player, OpeningAnotherFileStopsTheSoundAndStartsAtTheTop) {
    m_model.Open(Three());
    m_model.Press(B::Play);
    m_clock.Advance(1s);
    m_model.Open(OpenSoundFile(m_folder / "half.wav"));
    EXPECT_FALSE(m_output.Running());
    EXPECT_EQ(m_model.State(), S::Stopped);
    EXPECT_EQ(m_model.Length(), 500ms);
    m_model.Open(OpenSoundFile(m_folder / "gone.wav"));
    EXPECT_EQ(m_model.State(), S::Disabled);
    EXPECT_FALSE(m_model.HasFile());
    EXPECT_EQ(m_model.Length(), 0ms);
}

} // namespace
