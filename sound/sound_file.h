#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Opening the players' sound files with libsndfile. Opening reads the
// header and checks it; the sound itself is decoded later, block by block,
// as the output asks for it. A file that cannot be used is refused with a
// reason a teacher can act on; nothing here ever reads a whole file.

// Why a file cannot be played.
enum class SoundProblem {
    Missing,     // no such file
    Unreadable,  // there, but the system will not let us read it
    Empty,       // no bytes, or a header with no sound after it
    NotSound,    // text, a folder, a device, a format libsndfile does not know
    Unsupported, // a sound file, but not one the players play
    Truncated,   // the header is cut off, or promises more sound than the file holds
};

// A refusal: the kind, and the sentence (UTF-8, Russian) that the player's
// hint shows after the file name.
struct SoundFileError {
    SoundProblem problem;
    std::string text;
};

// What the players play: WAV files of linear PCM (8 to 32 bits) or float
// samples, mono or stereo, at a rate a sound card can take.
inline constexpr int kMinSampleRate = 8000;
inline constexpr int kMaxSampleRate = 192000;
inline constexpr int kMaxChannels = 2;

// How much of a file opening may read before it gives up: headers are a few
// hundred bytes; a file whose header needs more is not one of ours.
inline constexpr std::int64_t kHeaderReadBudget = 1 << 20;

struct SoundFormat {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0; // one frame is one sample of every channel

    friend bool operator==(const SoundFormat&, const SoundFormat&) = default;
};

// Where the bytes of a sound come from: a file, or a block of memory for
// tests and fuzzing. Offsets are in bytes; a read past the end reads less.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::int64_t Size() const = 0;
    // Moves the read position to `offset` (0 to Size()); false outside.
    virtual bool Seek(std::int64_t offset) = 0;
    virtual std::int64_t Tell() const = 0;
    // Reads up to `out.size()` bytes at the read position and moves past them.
    virtual std::size_t Read(std::span<std::byte> out) = 0;
};

// A sound held in memory.
class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<std::byte> bytes) : m_bytes(std::move(bytes)) {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    bool Seek(std::int64_t offset) override;
    std::int64_t Tell() const override { return m_position; }
    std::size_t Read(std::span<std::byte> out) override;

private:
    std::vector<std::byte> m_bytes;
    std::int64_t m_position = 0;
};

struct SoundOpening;
SoundOpening OpenSound(std::unique_ptr<ByteSource> source);

// An open sound: its format and a read position for decoding. It keeps its
// source open until it is destroyed.
class SoundFile {
public:
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    const SoundFormat& Format() const { return m_format; }

    // Decodes up to `samples.size() / channels` frames from the read
    // position as interleaved 16-bit samples, whatever the file's own
    // sample type; returns the frames decoded, 0 at the end.
    std::size_t Read(std::span<std::int16_t> samples);
    // Moves the read position to `frame`, clamped to 0 ... frames.
    void Seek(std::int64_t frame);
    std::int64_t Tell() const { return m_position; }

    struct Handle;

private:
    friend SoundOpening OpenSound(std::unique_ptr<ByteSource> source);
    SoundFile(std::unique_ptr<Handle> handle, SoundFormat format);

    std::unique_ptr<Handle> m_handle;
    SoundFormat m_format;
    std::int64_t m_position = 0;
};

// The outcome of opening: a file, or the reason there is none.
struct SoundOpening {
    std::unique_ptr<SoundFile> file;
    SoundFileError error{SoundProblem::Missing, {}}; // meaningful when `file` is null

    explicit operator bool() const { return file != nullptr; }
};

// Opens the sound in `source` and checks it: header, container, encoding,
// channels, rate, and the sound data that the header promises against the
// data the source holds. Reads at most kHeaderReadBudget bytes.
SoundOpening OpenSound(std::unique_ptr<ByteSource> source);

// Opens a file by name (relative names from the current folder). Anything
// but a regular file is refused before it is opened, so a pipe or a device
// under a sound file's name cannot block the caller.
SoundOpening OpenSoundFile(const std::filesystem::path& path);
// The same checks on bytes in memory.
SoundOpening OpenSoundBytes(std::vector<std::byte> bytes);
