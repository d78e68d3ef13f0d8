#include "sound/player_model.h"

#include <algorithm>

namespace {

class SteadyClock : public PlayerClock {
public:
    std::chrono::nanoseconds Now() const override {
        return std::chrono::steady_clock::now().time_since_epoch();
    }
};

// Frames played in `elapsed` at `rate`, without overflow for any span a
// clock can give.
std::int64_t FramesIn(std::chrono::nanoseconds elapsed, int rate) {
    using std::chrono::seconds;
    const auto whole = std::chrono::duration_cast<seconds>(elapsed);
    const std::int64_t rest = (elapsed - whole).count();
    return whole.count() * rate + rest * rate / 1'000'000'000;
}

} // namespace

PlayerClock& SteadyPlayerClock() {
    static SteadyClock clock;
    return clock;
}

PlayerModel::PlayerModel(PlayerClock& clock, AudioOutput& output)
    : m_clock(clock), m_output(output), m_reason("файл не задан") {}

PlayerModel::~PlayerModel() = default;

void PlayerModel::Open(SoundOpening opening) {
    m_output.Stop();
    m_anchor = 0;
    if (!opening) {
        m_file.reset();
        m_fileProblem = opening.error.problem;
        m_state = PlayerState::Disabled;
        m_reason = std::move(opening.error.text);
        return;
    }
    m_file = std::move(opening.file);
    m_fileProblem.reset();
    if (std::optional<std::string> why = m_output.CannotPlay(m_file->Format())) {
        m_state = PlayerState::Disabled;
        m_reason = std::move(*why);
        return;
    }
    m_state = PlayerState::Stopped;
    m_reason.clear();
}

SoundFormat PlayerModel::Format() const {
    return m_file ? m_file->Format() : SoundFormat{};
}

PlayerState PlayerModel::State() const {
    if (m_state == PlayerState::Playing && PositionFrames() >= LengthFrames())
        return PlayerState::AtEnd;
    return m_state;
}

std::int64_t PlayerModel::LengthFrames() const {
    return m_file ? m_file->Format().frames : 0;
}

std::int64_t PlayerModel::PositionFrames() const {
    if (m_state != PlayerState::Playing)
        return m_anchor;
    const std::chrono::nanoseconds elapsed = std::max(m_clock.Now() - m_since, {});
    return std::min(LengthFrames(), m_anchor + FramesIn(elapsed, Format().sampleRate));
}

std::chrono::milliseconds PlayerModel::ToTime(std::int64_t frames) const {
    const int rate = Format().sampleRate;
    return std::chrono::milliseconds(rate > 0 ? frames * 1000 / rate : 0);
}

std::chrono::milliseconds PlayerModel::Position() const {
    return ToTime(PositionFrames());
}

std::chrono::milliseconds PlayerModel::Length() const {
    return ToTime(LengthFrames());
}

std::int64_t PlayerModel::StepFrames() const {
    return std::int64_t{Format().sampleRate} * kStepLength.count();
}

// What a user of any media player expects: nothing works without a sound;
// at the start there is nothing to stop or go back over; at the end,
// nothing to pause or step over; Play is there whenever the sound is silent.
bool PlayerModel::IsEnabled(PlayerButton button) const {
    const PlayerState state = State();
    switch (state) {
    case PlayerState::Disabled:
        return false;
    case PlayerState::Stopped:
        return button == PlayerButton::Play || button == PlayerButton::Step;
    case PlayerState::Playing:
        return button != PlayerButton::Play;
    case PlayerState::Paused:
        return button != PlayerButton::Pause && (button != PlayerButton::Back || m_anchor > 0);
    case PlayerState::AtEnd:
        return button == PlayerButton::Play || button == PlayerButton::Stop ||
               button == PlayerButton::Back;
    }
    return false;
}

void PlayerModel::Settle() {
    if (m_state == PlayerState::Playing && State() == PlayerState::AtEnd) {
        // The output is left to play out what it holds and then runs dry on
        // its own; stopping it here would cut the last of the sound that the
        // device is still playing.
        m_state = PlayerState::AtEnd;
        m_anchor = LengthFrames();
    }
}

void PlayerModel::Press(PlayerButton button) {
    if (!IsEnabled(button))
        return;
    Settle();
    switch (button) {
    case PlayerButton::Play:
        Play();
        break;
    case PlayerButton::Pause:
        Pause();
        break;
    case PlayerButton::Stop:
        Stop();
        break;
    case PlayerButton::Step:
        Move(StepFrames());
        break;
    case PlayerButton::Back:
        Move(-StepFrames());
        break;
    }
}

bool PlayerModel::StartOutput() {
    m_file->Seek(m_anchor);
    if (std::optional<std::string> why = m_output.Start(*this, m_file->Format())) {
        Disable(std::move(*why));
        return false;
    }
    m_since = m_clock.Now();
    m_state = PlayerState::Playing;
    return true;
}

void PlayerModel::Play() {
    if (m_state != PlayerState::Paused)
        m_anchor = 0;
    StartOutput();
}

void PlayerModel::Pause() {
    m_anchor = PositionFrames();
    m_output.Stop();
    m_state = PlayerState::Paused;
}

void PlayerModel::Stop() {
    m_output.Stop();
    m_anchor = 0;
    m_state = PlayerState::Stopped;
}

void PlayerModel::Move(std::int64_t frames) {
    const bool playing = m_state == PlayerState::Playing;
    m_anchor = std::clamp<std::int64_t>(PositionFrames() + frames, 0, LengthFrames());
    if (m_anchor == LengthFrames()) {
        m_output.Stop();
        m_state = PlayerState::AtEnd;
    } else if (playing) {
        StartOutput();
    } else {
        m_output.Stop();
        m_state = PlayerState::Paused;
    }
}

void PlayerModel::Disable(std::string reason) {
    m_output.Stop();
    m_anchor = 0;
    m_state = PlayerState::Disabled;
    m_reason = std::move(reason);
}

void PlayerModel::OutputFailed(std::string reason) {
    if (m_file)
        Disable(std::move(reason));
}

void PlayerModel::RecheckOutput() {
    if (!m_file)
        return;
    std::optional<std::string> why = m_output.CannotPlay(m_file->Format());
    if (why && m_state != PlayerState::Disabled) {
        Disable(std::move(*why));
    } else if (!why && m_state == PlayerState::Disabled) {
        m_state = PlayerState::Stopped;
        m_reason.clear();
    }
}

std::size_t PlayerModel::ReadBlock(std::span<std::int16_t> samples) {
    return m_file ? m_file->Read(samples) : 0;
}
