#pragma once

#include "sound/sound_file.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

// The logic of one sound player: its state, its position and which of its
// five buttons can be pressed. Time comes from an injected clock and the
// sound goes to an injected output, so the whole player runs in tests
// without a sound card.

enum class PlayerState {
    Disabled, // no file, a file that cannot be played, or nowhere to play it
    Stopped,  // at the start, silent
    Playing,
    Paused, // silent, held at a position inside the file
    AtEnd,  // played (or stepped) to the end
};

// The buttons, in the order the control shows them.
enum class PlayerButton { Play, Pause, Stop, Step, Back };
inline constexpr PlayerButton kPlayerButtons[] = {PlayerButton::Play, PlayerButton::Pause,
                                                  PlayerButton::Stop, PlayerButton::Step,
                                                  PlayerButton::Back};

// Step and Back move the position by this much.
inline constexpr std::chrono::seconds kStepLength{1};

class PlayerClock {
public:
    virtual ~PlayerClock() = default;
    virtual std::chrono::nanoseconds Now() const = 0;
};

// The steady clock of the machine, one for the process.
PlayerClock& SteadyPlayerClock();

// What an output pulls the sound from: interleaved 16-bit frames.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    // Fills up to `samples.size() / channels` frames; returns the frames
    // written, 0 when the sound is over.
    virtual std::size_t ReadBlock(std::span<std::int16_t> samples) = 0;
};

// Where the sound goes. The output pulls blocks from the source between
// Start and Stop, at the pace of its device.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Why this output cannot play sound of this format, or nothing.
    virtual std::optional<std::string> CannotPlay(const SoundFormat& format) const = 0;
    // Begins pulling from the source (dropping anything left of an earlier
    // start); gives the reason when the device refuses.
    virtual std::optional<std::string> Start(BlockSource& source, const SoundFormat& format) = 0;
    // Stops pulling and drops what the device has not played yet.
    virtual void Stop() = 0;
};

class PlayerModel : private BlockSource {
public:
    // A player with no file: disabled until Open.
    PlayerModel(PlayerClock& clock, AudioOutput& output);
    ~PlayerModel() override;
    PlayerModel(const PlayerModel&) = delete;
    PlayerModel& operator=(const PlayerModel&) = delete;

    // Takes the outcome of opening a file: a file that opened and that the
    // output can play puts the player at the start; a refusal disables it
    // with the refusal's reason. Whatever was playing stops.
    void Open(SoundOpening opening);

    // The state now, by the clock: a sound that has played to its end is at
    // the end even before anyone asks the model to move on.
    PlayerState State() const;
    // Why the player is disabled (UTF-8); empty when it is not.
    const std::string& DisabledReason() const { return m_reason; }
    // The file's refusal, when the file is what disables the player.
    std::optional<SoundProblem> FileProblem() const { return m_fileProblem; }
    bool HasFile() const { return m_file != nullptr; }
    SoundFormat Format() const;

    bool IsEnabled(PlayerButton button) const;
    // Does what the button does; a button that is not enabled does nothing.
    void Press(PlayerButton button);

    std::int64_t PositionFrames() const;
    std::int64_t LengthFrames() const;
    std::chrono::milliseconds Position() const;
    std::chrono::milliseconds Length() const;

    // The output failed while playing, or its device went away: the player
    // is disabled with the reason, keeping its file.
    void OutputFailed(std::string reason);
    // Asks the output again whether it can play the file (a device may have
    // come or gone); a player disabled only for want of a device comes back
    // at the start.
    void RecheckOutput();

private:
    std::size_t ReadBlock(std::span<std::int16_t> samples) override;

    // Makes a playing sound that the clock has run to its end AtEnd.
    void Settle();
    void Play();
    void Pause();
    void Stop();
    void Move(std::int64_t frames);
    // Starts the output at the position; false (and disabled) when it refuses.
    bool StartOutput();
    void Disable(std::string reason);
    std::int64_t StepFrames() const;
    std::chrono::milliseconds ToTime(std::int64_t frames) const;

    PlayerClock& m_clock;
    AudioOutput& m_output;
    std::unique_ptr<SoundFile> m_file;
    std::optional<SoundProblem> m_fileProblem;
    std::string m_reason;
    PlayerState m_state = PlayerState::Disabled;
    // Where the sound stands: while playing, the frame at m_since; otherwise
    // the position itself.
    std::int64_t m_anchor = 0;
    std::chrono::nanoseconds m_since{0};
};
