// The players' sound file open path on any bytes: opening either refuses the
// bytes with a reason for the hint, or gives a sound of a format the players
// take, which then decodes block by block as the output pulls it, from the
// start, after a seek and at the end.

#include "sound/sound_file.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// The output's block size in frames, as small as a sound card asks for.
constexpr std::size_t kBlockFrames = 256;

// Decodes up to `blocks` blocks from the read position; false when a block
// is larger than asked or the position does not move by what was decoded.
bool ReadBlocks(SoundFile& file, int blocks, std::int64_t& decoded) {
    std::array<std::int16_t, kBlockFrames * kMaxChannels> samples{};
    const auto channels = static_cast<std::size_t>(file.Format().channels);
    for (int i = 0; i < blocks; ++i) {
        const std::int64_t before = file.Tell();
        const std::size_t n = file.Read(std::span(samples.data(), kBlockFrames * channels));
        if (n > kBlockFrames || file.Tell() != before + static_cast<std::int64_t>(n))
            return false;
        decoded += static_cast<std::int64_t>(n);
        if (n == 0)
            break;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* first = reinterpret_cast<const std::byte*>(data);
    SoundOpening opened = OpenSoundBytes(std::vector<std::byte>(first, first + size));
    if (!opened) {
        if (opened.error.text.empty())
            std::abort();
        return 0;
    }
    SoundFile& file = *opened.file;
    const SoundFormat format = file.Format();
    if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate ||
        format.channels < 1 || format.channels > kMaxChannels || format.frames <= 0)
        std::abort();

    std::int64_t decoded = 0;
    if (!ReadBlocks(file, 4, decoded) || decoded > format.frames)
        std::abort();
    file.Seek(format.frames / 2);
    if (file.Tell() != format.frames / 2 || !ReadBlocks(file, 2, decoded))
        std::abort();
    // At the end nothing more comes; before the start is the start.
    file.Seek(format.frames + 1000);
    std::int64_t past = 0;
    if (file.Tell() != format.frames || !ReadBlocks(file, 1, past) || past != 0)
        std::abort();
    file.Seek(-1);
    if (file.Tell() != 0)
        std::abort();
    return 0;
}
