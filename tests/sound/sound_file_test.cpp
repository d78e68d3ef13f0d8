#include "sound/sound_file.h"

#include "tests/sound/sound_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

using ::testing::HasSubstr;

// A source of `size` bytes that starts with `head` and holds `fill` bytes
// after it (a repeating pattern), made up as they are read, so a test can
// hand over gigabytes without holding them; it counts the bytes read.
class MadeUpSource : public ByteSource {
public:
    MadeUpSource(std::vector<std::byte> head, std::int64_t size, std::vector<std::byte> fill,
                 std::int64_t& bytesRead)
        : m_head(std::move(head)), m_fill(std::move(fill)), m_size(size), m_read(bytesRead) {}
    std::int64_t Size() const override { return m_size; }
    bool Seek(std::int64_t offset) override {
        if (offset < 0 || offset > m_size)
            return false;
        m_position = offset;
        return true;
    }
    std::int64_t Tell() const override { return m_position; }
    std::size_t Read(std::span<std::byte> out) override {
        const auto n = static_cast<std::size_t>(
            std::min<std::int64_t>(static_cast<std::int64_t>(out.size()), m_size - m_position));
        for (std::size_t i = 0; i < n; ++i, ++m_position) {
            const auto at = static_cast<std::size_t>(m_position);
            out[i] = at < m_head.size() ? m_head[at] : m_fill[(at - m_head.size()) % m_fill.size()];
        }
        m_read += static_cast<std::int64_t>(n);
        return n;
    }

private:
    std::vector<std::byte> m_head;
    std::vector<std::byte> m_fill;
    std::int64_t m_size;
    std::int64_t m_position = 0;
    std::int64_t& m_read;
};

std::vector<std::byte> Bytes(const std::string& text) {
    std::vector<std::byte> out(text.size());
    std::memcpy(out.data(), text.data(), text.size());
    return out;
}

TEST(SoundFile, OpensWavsOfEveryAcceptedEncodingAndDecodesThem) {
    const TempFolder folder;
    const struct {
        const char* name;
        int format;
        int channels;
        int tolerance; // 8-bit keeps only the high byte of each sample
    } cases[] = {
        {"u8 mono", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 255},
        {"16-bit mono", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 0},
        {"16-bit stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 0},
        {"24-bit stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 0},
        {"32-bit mono", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 1, 0},
        {"float stereo", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 0},
        {"double mono", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 0},
        {"extensible 16-bit stereo", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / (std::string(c.name) + ".wav");
        WriteSound(path, 22050, c.channels, 5000, c.format);
        const SoundOpening opened = OpenSoundFile(path);
        ASSERT_TRUE(opened) << opened.error.text;
        EXPECT_EQ(opened.file->Format(), (SoundFormat{22050, c.channels, 5000}));
        std::vector<std::int16_t> block(static_cast<std::size_t>(1000 * c.channels));
        opened.file->Seek(3000);
        ASSERT_EQ(opened.file->Read(block), 1000u);
        for (int i = 0; i < 1000; i += 111) {
            EXPECT_NEAR(block[static_cast<std::size_t>(i * c.channels)], RampSample(3000 + i),
                        c.tolerance)
                << "frame " << 3000 + i;
            if (c.channels == 2) {
                EXPECT_NEAR(block[static_cast<std::size_t>(i * 2 + 1)], -RampSample(3000 + i),
                            c.tolerance);
            }
        }
    }
}

TEST(SoundFile, DecodesInBlocksFromAnyPositionClampedToTheFile) {
    const TempFolder folder;
    WriteSound(folder / "a.wav", 8000, 1, 24000);
    const SoundOpening opened = OpenSoundFile(folder / "a.wav");
    ASSERT_TRUE(opened) << opened.error.text;
    SoundFile& file = *opened.file;

    std::vector<std::int16_t> block(4096);
    std::int64_t frames = 0;
    bool inOrder = true;
    while (const std::size_t n = file.Read(block)) {
        for (std::size_t i = 0; i < n; ++i)
            inOrder = inOrder && block[i] == RampSample(frames + static_cast<std::int64_t>(i));
        frames += static_cast<std::int64_t>(n);
    }
    EXPECT_EQ(frames, 24000);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(file.Tell(), 24000);

    const struct {
        std::int64_t seek;
        std::int64_t at;
        std::size_t readable; // frames a 4096-frame read gets there
    } seeks[] = {{8000, 8000, 4096}, {-5, 0, 4096}, {23000, 23000, 1000}, {99999, 24000, 0}};
    for (const auto& s : seeks) {
        file.Seek(s.seek);
        EXPECT_EQ(file.Tell(), s.at) << s.seek;
        EXPECT_EQ(file.Read(block), s.readable) << s.seek;
        if (s.readable) {
            EXPECT_EQ(block[0], RampSample(s.at));
        }
    }
}

// Each file that cannot be played is refused with the kind of fault and a
// reason that names it.
TEST(SoundFile, RefusesFaultyFilesWithTheirReason) {
    const TempFolder folder;
    std::vector<std::byte> valid;
    {
        WriteSound(folder / "valid.wav", 8000, 1, 1000);
        valid = ReadBytes(folder / "valid.wav");
        ASSERT_EQ(valid.size(), 44u + 2000u);
    }
    auto cut = [&](std::size_t n) {
        return std::vector<std::byte>(valid.begin(), valid.begin() + n);
    };
    using Make = std::function<void(const std::filesystem::path&)>;
    auto bytes = [](std::vector<std::byte> b) -> Make {
        return [b](const std::filesystem::path& p) { WriteBytes(p, b); };
    };
    auto sound = [](int rate, int channels, int format) -> Make {
        return [=](const std::filesystem::path& p) { WriteSound(p, rate, channels, 100, format); };
    };
    const struct {
        const char* name;
        Make make; // null: nothing is made
        SoundProblem problem;
        const char* says;
    } cases[] = {
        {"missing", nullptr, SoundProblem::Missing, "нет такого файла"},
        {"empty", bytes({}), SoundProblem::Empty, "файл пуст"},
        {"text", bytes(Bytes("Звуковое сопровождение к коду NRZ.\n")), SoundProblem::NotSound,
         "не звуковой файл"},
        {"folder", [](const std::filesystem::path& p) { std::filesystem::create_directory(p); },
         SoundProblem::NotSound, "папка"},
        {"pipe", [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         SoundProblem::NotSound, "не обычный файл"},
        {"RIFF only", bytes(cut(4)), SoundProblem::Truncated, "обрезан"},
        {"header cut in fmt", bytes(cut(20)), SoundProblem::Truncated, "обрезан или повреждён"},
        {"header cut before data", bytes(cut(36)), SoundProblem::Truncated, "обрезан"},
        {"no samples", bytes(WavWithClaim(0, 0)), SoundProblem::Empty, "нет звука"},
        {"claims 4 GiB", bytes(WavWithClaim(0xFFFFFFF0u, 8)), SoundProblem::Truncated,
         "заголовок обещает 4\u00A0294\u00A0967\u00A0280 байт звука, в файле 8"},
        {"claims a stream's placeholder", bytes(WavWithClaim(0x7FFFF000u, 4000)),
         SoundProblem::Truncated, "в файле 4\u00A0000"},
        {"cut in the sound", bytes(cut(44 + 1000)), SoundProblem::Truncated,
         "обещает 2\u00A0000 байт звука, в файле 1\u00A0000"},
        {"u-law", sound(8000, 1, SF_FORMAT_WAV | SF_FORMAT_ULAW), SoundProblem::Unsupported,
         "U-Law"},
        {"IMA ADPCM", sound(8000, 1, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM),
         SoundProblem::Unsupported, "ADPCM"},
        {"6 channels", sound(8000, 6, SF_FORMAT_WAVEX | SF_FORMAT_PCM_16),
         SoundProblem::Unsupported, "каналов в файле: 6"},
        {"AIFF", sound(8000, 1, SF_FORMAT_AIFF | SF_FORMAT_PCM_16), SoundProblem::Unsupported,
         "AIFF"},
        {"FLAC", sound(8000, 1, SF_FORMAT_FLAC | SF_FORMAT_PCM_16), SoundProblem::Unsupported,
         "FLAC"},
        {"4000 Hz", sound(4000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16), SoundProblem::Unsupported,
         "4\u00A0000\u00A0Гц"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / (std::string(c.name) + ".wav");
        if (c.make)
            c.make(path);
        const SoundOpening opened = OpenSoundFile(path);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error.problem, c.problem) << opened.error.text;
        EXPECT_THAT(opened.error.text, HasSubstr(c.says));
    }
}

// Cut anywhere, a file is refused: never opened with less than it says.
TEST(SoundFile, RefusesAFileCutAtAnyLength) {
    const TempFolder folder;
    WriteSound(folder / "valid.wav", 8000, 1, 100);
    const std::vector<std::byte> valid = ReadBytes(folder / "valid.wav");
    ASSERT_TRUE(OpenSoundBytes(valid));
    for (std::size_t n = 1; n < valid.size(); ++n) {
        const SoundOpening opened = OpenSoundBytes({valid.begin(), valid.begin() + n});
        EXPECT_FALSE(opened) << "cut at " << n;
        // A cut inside the data chunk's size field (41 to 43 bytes) reads as
        // a header with no sound after it, which is refused as empty.
        if (n >= 41 && n <= 43) {
            EXPECT_EQ(opened.error.problem, SoundProblem::Empty) << "cut at " << n;
        } else if (n >= 4) {
            EXPECT_EQ(opened.error.problem, SoundProblem::Truncated) << "cut at " << n;
        }
    }
}

TEST(SoundFile, OpeningReadsTheHeaderNotTheSound) {
    // A true 4 GiB sound: the header promises what the source holds.
    {
        const std::uint32_t claim = 0xFFFFFFF0u;
        std::int64_t read = 0;
        const SoundOpening opened = OpenSound(
            std::make_unique<MadeUpSource>(WavWithClaim(claim, 0), 44 + std::int64_t{claim},
                                           std::vector<std::byte>{std::byte{0}}, read));
        ASSERT_TRUE(opened) << opened.error.text;
        EXPECT_EQ(opened.file->Format().frames, claim / 2);
        EXPECT_LT(read, 64 * 1024);
        // Decoding starts anywhere without reading what lies before.
        opened.file->Seek(opened.file->Format().frames - 10);
        std::vector<std::int16_t> block(100);
        EXPECT_EQ(opened.file->Read(block), 10u);
        EXPECT_LT(read, 128 * 1024);
    }
    // A gigabyte of empty chunks and no sound: refused within the budget.
    {
        std::int64_t read = 0;
        std::vector<std::byte> head = Bytes("RIFF\xF8\xFF\xFF\x7FWAVE");
        const SoundOpening opened = OpenSound(std::make_unique<MadeUpSource>(
            head, std::int64_t{1} << 30, Bytes(std::string("junk\0\0\0\0", 8)), read));
        EXPECT_FALSE(opened);
        EXPECT_LE(read, kHeaderReadBudget + 4096);
    }
}

// Only WAV goes to libsndfile: other containers are named from their first
// bytes, so none of libsndfile's other parsers reads a file of the program's
// folder; big-endian WAV (RIFX) is WAV and plays.
TEST(SoundFile, OnlyWavReachesTheDecoderAndOtherContainersAreNamed) {
    const TempFolder folder;
    const struct {
        const char* name;
        int format;
        const char* says; // nullptr: it opens
    } cases[] = {
        {"riff", SF_FORMAT_WAV | SF_FORMAT_PCM_16, nullptr},
        {"rifx", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG, nullptr},
        {"rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, "RF64"},
        {"w64", SF_FORMAT_W64 | SF_FORMAT_PCM_16, "W64"},
        {"caf", SF_FORMAT_CAF | SF_FORMAT_PCM_16, "CAF"},
        {"au", SF_FORMAT_AU | SF_FORMAT_PCM_16, "AU"},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, "OGG"},
        {"voc", SF_FORMAT_VOC | SF_FORMAT_PCM_16, "VOC"},
        {"raw", SF_FORMAT_RAW | SF_FORMAT_PCM_16, "не звуковой файл"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = folder / (std::string(c.name) + ".snd");
        WriteSound(path, 8000, 1, 800, c.format);
        const SoundOpening opened = OpenSoundFile(path);
        if (c.says == nullptr) {
            ASSERT_TRUE(opened) << opened.error.text;
            std::vector<std::int16_t> block(800);
            EXPECT_EQ(opened.file->Read(block), 800u);
            EXPECT_EQ(block[799], RampSample(799));
            continue;
        }
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error.problem, std::string(c.says).starts_with("не")
                                            ? SoundProblem::NotSound
                                            : SoundProblem::Unsupported);
        EXPECT_THAT(opened.error.text, HasSubstr(c.says));
    }
}

// A LIST chunk, or an INFO chunk at the top level, whose records do not fit
// it is refused before libsndfile's parser of lists, which does not stop on
// such a record, can see it.
TEST(SoundFile, ListChunksAreCheckedBeforeTheyAreParsed) {
    const auto le32 = [](std::uint32_t v) {
        std::string out(4, '\0');
        for (int i = 0; i < 4; ++i)
            out[static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    const auto wav = [&](const std::string& list, bool listFirst = true,
                         const std::string& id = "LIST") {
        std::vector<std::byte> sound = WavWithClaim(8, 8);
        std::string bytes(reinterpret_cast<const char*>(sound.data()), sound.size());
        const std::string chunk = id + le32(static_cast<std::uint32_t>(list.size())) + list;
        bytes.insert(listFirst ? 36 : bytes.size(), chunk);
        const std::string riff = le32(static_cast<std::uint32_t>(bytes.size() - 8));
        bytes.replace(4, 4, riff);
        return Bytes(bytes);
    };
    // Seven bytes and the pad byte that keeps the next record at an even offset.
    const std::string name = "ISFT" + le32(7) + std::string("espeak\0\0", 8);
    const struct {
        const char* name;
        std::vector<std::byte> bytes;
        const char* says; // nullptr: it opens
    } cases[] = {
        {"a software name", wav("INFO" + name), nullptr},
        {"two records, the odd one padded", wav("INFO" + name + "ICMT" + le32(2) + "ok"), nullptr},
        {"after the sound", wav("INFO" + name, false), nullptr},
        {"an empty list", wav("INFO"), nullptr},
        {"a record past its list", wav("INFO" + std::string("ISFT") + le32(0xFFFFFFF7u)),
         "длиннее самого списка"},
        {"a record one byte past",
         wav("INFO" + std::string("ISFT") + le32(8) + std::string("espeak\0", 7), false),
         "длиннее самого списка"},
        {"cut inside the list",
         [&] {
             std::vector<std::byte> b = wav("INFO" + name, false);
             b.resize(b.size() - 4);
             return b;
         }(),
         "обрезан в списке LIST"},
        // The parser reads a list's type as one more record marker: only
        // "INFO" and "adtl" stand alone, any other type takes a length.
        {"a list of labels", wav("adtl" + name), nullptr},
        {"a type taken for a record", wav("XXXX" + le32(0xFFFFFFF8u) + le32(0)),
         "длиннее самого списка"},
        {"an INFO chunk at the top", wav(name, true, "INFO"), nullptr},
        {"a record past its INFO chunk", wav("ISFT" + le32(0xFFFFFFF8u), true, "INFO"),
         "списка INFO длиннее"},
        {"a list ending in part of a record", wav("INFO" + name + "IC"), "длиннее самого списка"},
        {"a record past a list inside it", wav("INFO" + std::string("abcd") + le32(0xFFFFFFF8u)),
         "длиннее самого списка"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SoundOpening opened = OpenSoundBytes(c.bytes);
        if (c.says == nullptr) {
            EXPECT_TRUE(opened) << opened.error.text;
            continue;
        }
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error.problem, SoundProblem::Truncated);
        EXPECT_THAT(opened.error.text, HasSubstr(c.says));
    }
}

// The inputs on which fuzzing found a fault, each refused with its reason.
TEST(SoundFile, FuzzRegressionsAreRefused) {
    const std::filesystem::path folder =
        std::filesystem::path(LC_SOURCE_DIR) / "tests/fuzz/regressions/sound_file_fuzz";
    const struct {
        const char* file;
        SoundProblem problem;
        const char* says;
    } cases[] = {
        // Opening spun for ever inside libsndfile.
        {"list-record-past-its-list.wav", SoundProblem::Truncated, "списка LIST"},
        {"info-chunk-record-wraps-round.wav", SoundProblem::Truncated, "списке INFO"},
        {"list-tail-read-as-a-record.wav", SoundProblem::Truncated, "длиннее самого списка"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const SoundOpening opened = OpenSoundFile(folder / c.file);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error.problem, c.problem);
        EXPECT_THAT(opened.error.text, HasSubstr(c.says));
    }
}

TEST(SoundFile, BytesInMemoryOpenLikeTheFileTheyCameFrom) {
    const TempFolder folder;
    WriteSound(folder / "a.wav", 11025, 2, 777);
    const SoundOpening fromFile = OpenSoundFile(folder / "a.wav");
    const SoundOpening fromBytes = OpenSoundBytes(ReadBytes(folder / "a.wav"));
    ASSERT_TRUE(fromFile);
    ASSERT_TRUE(fromBytes);
    EXPECT_EQ(fromFile.file->Format(), fromBytes.file->Format());
    std::vector<std::int16_t> a(2 * 777), b(2 * 777);
    EXPECT_EQ(fromFile.file->Read(a), 777u);
    EXPECT_EQ(fromBytes.file->Read(b), 777u);
    EXPECT_EQ(a, b);
}

} // namespace
