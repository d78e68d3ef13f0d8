#pragma once

#include "sound/player_model.h"
#include "sound/sound_file.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

// Test doubles and files for the players: a clock that moves only when told,
// an output that plays nothing and pulls only when told, and sound files
// written with libsndfile into a folder of their own.

class FakeClock : public PlayerClock {
public:
    std::chrono::nanoseconds Now() const override { return m_now; }
    void Advance(std::chrono::nanoseconds by) { m_now += by; }

private:
    std::chrono::nanoseconds m_now{std::chrono::hours(1)};
};

class SilentOutput : public AudioOutput {
public:
    std::optional<std::string> CannotPlay(const SoundFormat&) const override { return noDevice; }
    std::optional<std::string> Start(BlockSource& source, const SoundFormat& format) override {
        if (refuseStart)
            return refuseStart;
        m_source = &source;
        m_format = format;
        ++starts;
        return std::nullopt;
    }
    void Stop() override { m_source = nullptr; }

    bool Running() const { return m_source != nullptr; }
    // The next `frames` frames the device would take (fewer at the end), or
    // nothing when the output is not running.
    std::vector<std::int16_t> Pull(std::size_t frames) {
        if (!m_source)
            return {};
        std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(m_format.channels));
        const std::size_t got = m_source->ReadBlock(samples);
        samples.resize(got * static_cast<std::size_t>(m_format.channels));
        return samples;
    }

    std::optional<std::string> noDevice;    // what CannotPlay answers
    std::optional<std::string> refuseStart; // what Start answers
    int starts = 0;

private:
    BlockSource* m_source = nullptr;
    SoundFormat m_format;
};

// Frame i of a test sound holds this value in its first channel (its
// negative in the second), so a pulled block tells where it came from.
inline std::int16_t RampSample(std::int64_t frame) {
    return static_cast<std::int16_t>(frame % 30000);
}

// A fresh folder, removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> serial{0};
        m_path = std::filesystem::temp_directory_path() /
                 ("lc-sound-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Writes a ramp sound with libsndfile; `format` is a libsndfile format word.
inline void WriteSound(const std::filesystem::path& path, int rate, int channels,
                       std::int64_t frames, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames * channels));
    for (std::int64_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const std::int16_t v = RampSample(i);
            samples[static_cast<std::size_t>(i * channels + c)] =
                static_cast<std::int16_t>(c == 0 ? v : -v);
        }
    }
    EXPECT_EQ(sf_writef_short(file, samples.data(), frames), frames);
    sf_close(file);
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::byte>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::byte> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    std::memcpy(bytes.data(), chars.data(), chars.size());
    return bytes;
}

// The canonical 44-byte header of a 16-bit PCM WAV whose data chunk claims
// `dataBytes`, followed by `present` bytes of sound.
inline std::vector<std::byte> WavWithClaim(std::uint32_t dataBytes, std::size_t present,
                                           int rate = 8000, int channels = 1) {
    std::vector<std::byte> out;
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::byte>(s[i]));
    };
    auto word = [&](std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::byte>((v >> (8 * i)) & 0xFF));
    };
    text("RIFF");
    word(std::min<std::uint64_t>(0xFFFFFFFFu, 36ull + dataBytes), 4);
    text("WAVE");
    text("fmt ");
    word(16, 4);
    word(1, 2); // linear PCM
    word(static_cast<std::uint64_t>(channels), 2);
    word(static_cast<std::uint64_t>(rate), 4);
    word(static_cast<std::uint64_t>(rate * channels * 2), 4);
    word(static_cast<std::uint64_t>(channels * 2), 2);
    word(16, 2);
    text("data");
    word(dataBytes, 4);
    for (std::size_t i = 0; i < present; ++i)
        out.push_back(static_cast<std::byte>(i & 0xFF));
    return out;
}
