#include "sound/player_model.h"
#include "sound/sound_file.h"

#include "tests/sound/sound_test_support.h"

#include <gtest/gtest.h>

namespace {

// The sounds the build puts beside the program are the ones the five
// players open there: each must pass the players' own checks and play to
// its end through the model.
TEST(CommentaryFiles, EachPlayersFileOpensAndPlaysThrough) {
    for (const char* name : {"001.wav", "NRZ.wav", "BIL.wav", "CMI.wav", "EP-1.wav"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path path = std::filesystem::path(LC_PROGRAM_DIR) / name;
        SoundOpening opening = OpenSoundFile(path);
        ASSERT_TRUE(opening) << opening.error.text;
        const SoundFormat format = opening.file->Format();
        EXPECT_GT(format.frames, format.sampleRate) << "more than a second of commentary";

        FakeClock clock;
        SilentOutput output;
        PlayerModel player(clock, output);
        player.Open(std::move(opening));
        player.Press(PlayerButton::Play);
        std::int64_t frames = 0;
        while (const std::size_t n = output.Pull(4096).size())
            frames += static_cast<std::int64_t>(n) / format.channels;
        EXPECT_EQ(frames, format.frames);
        clock.Advance(player.Length() + std::chrono::milliseconds(1));
        EXPECT_EQ(player.State(), PlayerState::AtEnd);
    }
}

} // namespace
