#include "sound/sound_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

// A file read through the C library's buffered stream: libsndfile asks for
// many small reads while it walks a header.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(std::FILE* file) : m_file(file) {
        if (std::fseek(m_file, 0, SEEK_END) == 0)
            m_size = std::max<std::int64_t>(0, std::ftell(m_file));
        std::fseek(m_file, 0, SEEK_SET);
    }
    ~FileByteSource() override { std::fclose(m_file); }
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::int64_t Size() const override { return m_size; }
    bool Seek(std::int64_t offset) override {
        if (offset < 0 || offset > m_size || std::fseek(m_file, offset, SEEK_SET) != 0)
            return false;
        m_position = offset;
        return true;
    }
    std::int64_t Tell() const override { return m_position; }
    std::size_t Read(std::span<std::byte> out) override {
        const std::size_t n = std::fread(out.data(), 1, out.size(), m_file);
        m_position += static_cast<std::int64_t>(n);
        return n;
    }

private:
    std::FILE* m_file;
    std::int64_t m_size = 0;
    std::int64_t m_position = 0;
};

SoundOpening Refused(SoundProblem problem, std::string text) {
    SoundOpening out;
    out.error = {problem, std::move(text)};
    return out;
}

// libsndfile's English name of a container or an encoding, for the reason.
std::string FormatName(int format) {
    SF_FORMAT_INFO info{};
    info.format = format;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name)
        return info.name;
    return "код " + std::to_string(format);
}

// Bytes of one sample of the encodings the players take; 0 for any other.
int BytesPerSample(int subformat) {
    switch (subformat) {
    case SF_FORMAT_PCM_U8:
        return 1;
    case SF_FORMAT_PCM_16:
        return 2;
    case SF_FORMAT_PCM_24:
        return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 4;
    case SF_FORMAT_DOUBLE:
        return 8;
    default:
        return 0;
    }
}

// A number with thin groups of three digits, as Russian text writes them.
std::string Grouped(std::int64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), "\u00A0");
    return digits;
}

// The first `n` bytes of the source, for telling a cut WAV header from a
// file of some other kind.
std::string Leading(ByteSource& source, std::size_t n) {
    std::string bytes(n, '\0');
    if (!source.Seek(0))
        return {};
    bytes.resize(source.Read(std::as_writable_bytes(std::span(bytes.data(), bytes.size()))));
    return bytes;
}

// Other containers libsndfile knows, by the bytes they begin with, so that
// the reason names them without any of their parsers reading the file.
int ForeignContainer(const std::string& lead) {
    const auto at = [&](std::size_t offset, std::string_view magic) {
        return lead.size() >= offset + magic.size() &&
               lead.compare(offset, magic.size(), magic) == 0;
    };
    if (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC")))
        return SF_FORMAT_AIFF;
    if (at(0, "RF64") || at(0, "BW64"))
        return SF_FORMAT_RF64;
    if (at(0, "riff") && at(4, "\x2E\x91\xCF\x11"))
        return SF_FORMAT_W64;
    if (at(0, "fLaC"))
        return SF_FORMAT_FLAC;
    if (at(0, "OggS"))
        return SF_FORMAT_OGG;
    if (at(0, "caff"))
        return SF_FORMAT_CAF;
    if (at(0, ".snd") || at(0, "dns."))
        return SF_FORMAT_AU;
    if (at(0, "Creative Voice File"))
        return SF_FORMAT_VOC;
    if (at(0, "ID3"))
        return SF_FORMAT_MPEG;
    return 0;
}

} // namespace

bool MemoryByteSource::Seek(std::int64_t offset) {
    if (offset < 0 || offset > Size())
        return false;
    m_position = offset;
    return true;
}

std::size_t MemoryByteSource::Read(std::span<std::byte> out) {
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(out.size()), Size() - m_position));
    if (n > 0)
        std::memcpy(out.data(), m_bytes.data() + m_position, n);
    m_position += static_cast<std::int64_t>(n);
    return n;
}

// The source, libsndfile's handle on it, and what opening may still read.
struct SoundFile::Handle {
    std::unique_ptr<ByteSource> source;
    SNDFILE* sndfile = nullptr;
    bool opening = true;
    std::int64_t budget = kHeaderReadBudget;

    ~Handle() {
        if (sndfile)
            sf_close(sndfile);
    }
};

namespace {

SoundFile::Handle& HandleOf(void* user) {
    return *static_cast<SoundFile::Handle*>(user);
}

sf_count_t VioLength(void* user) {
    return HandleOf(user).source->Size();
}

sf_count_t VioSeek(sf_count_t offset, int whence, void* user) {
    ByteSource& source = *HandleOf(user).source;
    const std::int64_t base = whence == SEEK_CUR   ? source.Tell()
                              : whence == SEEK_END ? source.Size()
                                                   : 0;
    // A hostile header can ask for any offset; one outside the source fails
    // without wrapping round.
    if ((offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset) ||
        (offset < 0 && base + offset < 0))
        return -1;
    const std::int64_t target = base + offset;
    return source.Seek(target) ? target : -1;
}

sf_count_t VioRead(void* ptr, sf_count_t count, void* user) {
    SoundFile::Handle& handle = HandleOf(user);
    if (count <= 0)
        return 0;
    if (handle.opening)
        count = std::min<sf_count_t>(count, handle.budget);
    const std::size_t n = handle.source->Read(
        std::span(static_cast<std::byte*>(ptr), static_cast<std::size_t>(count)));
    if (handle.opening)
        handle.budget -= static_cast<std::int64_t>(n);
    return static_cast<sf_count_t>(n);
}

sf_count_t VioWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t VioTell(void* user) {
    return HandleOf(user).source->Tell();
}

// Reads up to `n` bytes at `offset`, counted against what opening may read.
std::string ReadAt(SoundFile::Handle& handle, std::int64_t offset, std::size_t n) {
    std::string bytes(n, '\0');
    if (handle.budget <= 0 || !handle.source->Seek(offset))
        return {};
    n = std::min<std::size_t>(n, static_cast<std::size_t>(handle.budget));
    n = handle.source->Read(std::as_writable_bytes(std::span(bytes.data(), n)));
    handle.budget -= static_cast<std::int64_t>(n);
    bytes.resize(n);
    return bytes;
}

std::uint32_t ChunkSize(const std::string& header, bool bigEndian) {
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i) {
        const int at = bigEndian ? 4 + i : 7 - i;
        size = (size << 8) | static_cast<unsigned char>(header[static_cast<std::size_t>(at)]);
    }
    return size;
}

// Walks the chunks of a RIFF file before libsndfile parses them. Its parser
// of metadata lists, used for a LIST chunk and for an INFO chunk at the top
// level alike, adds a record's length to its count in 32 bits and then
// jumps by it: a record that claims more than its list holds wraps that
// count round, the jump goes backwards, and opening spins for ever on a
// header of sixty bytes (the workbench opens its sounds while the program
// starts). Such a list, or one the file ends inside, is refused here. The
// walk reads the records as that parser does: the markers "INFO" and
// "adtl" (a list's type among them) stand alone without a length, "data"
// or four zero bytes end the list. It reads only chunk headers, from what
// opening may read; a data chunk that claims more than the file holds ends
// the walk, and the check of the sound's size says the rest.
std::optional<SoundOpening> CheckRiffChunks(SoundFile::Handle& handle, bool bigEndian) {
    const std::int64_t size = handle.source->Size();
    std::int64_t at = 12;
    while (at + 8 <= size) {
        const std::string header = ReadAt(handle, at, 8);
        if (header.size() < 8)
            return std::nullopt; // out of budget: opening refuses it
        const std::int64_t body = at + 8;
        const std::int64_t end = body + ChunkSize(header, bigEndian);
        if (header.compare(0, 4, "data") == 0 && end > size)
            return std::nullopt;
        const std::string_view id = std::string_view(header).substr(0, 4);
        if (id == "LIST" || id == "INFO") {
            if (end > size)
                return Refused(SoundProblem::Truncated,
                               "заголовок файла WAV обрезан в списке " + std::string(id));
            // The parser reads a record while any byte of its list is left,
            // so a list's last few bytes are a record's marker and length too.
            for (std::int64_t record = body; record < end;) {
                const std::string entry = ReadAt(handle, record, 8);
                if (entry.size() < 4 && handle.budget <= 0)
                    return std::nullopt;
                const std::string_view marker = std::string_view(entry).substr(0, 4);
                if (entry.size() >= 4 && (marker == "INFO" || marker == "adtl")) {
                    record += 4;
                    continue;
                }
                if (marker == "data" || marker == std::string_view("\0\0\0\0", 4))
                    break;
                const std::uint32_t length = entry.size() < 8
                                                 ? std::numeric_limits<std::uint32_t>::max()
                                                 : ChunkSize(entry, bigEndian);
                if (record + 8 + length > end)
                    return Refused(SoundProblem::Truncated,
                                   "заголовок файла WAV повреждён: запись списка " +
                                       std::string(id) + " длиннее самого списка");
                record += 8 + length + (length & 1u);
            }
        }
        at = end + (end & 1);
    }
    return std::nullopt;
}

// Why libsndfile would not open the source.
SoundOpening OpenFailure(int code, SoundFile::Handle& handle) {
    if (handle.budget <= 0)
        return Refused(SoundProblem::Unsupported,
                       "заголовок длиннее 1\u00A0МиБ — это не файл звукового сопровождения");
    switch (code) {
    case SF_ERR_UNRECOGNISED_FORMAT: {
        const std::string lead = Leading(*handle.source, 12);
        if (lead.size() < 12 && lead.rfind("RIFF", 0) == 0)
            return Refused(SoundProblem::Truncated, "заголовок файла WAV обрезан");
        if (lead.size() == 12 && lead.rfind("RIFF", 0) == 0 && lead.compare(8, 4, "WAVE") == 0)
            return Refused(SoundProblem::Truncated, "заголовок файла WAV повреждён");
        return Refused(SoundProblem::NotSound, "это не звуковой файл");
    }
    case SF_ERR_SYSTEM:
        return Refused(SoundProblem::Unreadable, "ошибка чтения файла");
    case SF_ERR_UNSUPPORTED_ENCODING:
        return Refused(SoundProblem::Unsupported, "кодирование звука не поддерживается");
    default:
        // libsndfile knew the container but found its header malformed: in
        // practice a file cut short inside its header.
        return Refused(SoundProblem::Truncated, "заголовок файла обрезан или повреждён");
    }
}

} // namespace

SoundFile::SoundFile(std::unique_ptr<Handle> handle, SoundFormat format)
    : m_handle(std::move(handle)), m_format(format) {}

SoundFile::~SoundFile() = default;

std::size_t SoundFile::Read(std::span<std::int16_t> samples) {
    const auto channels = static_cast<std::size_t>(m_format.channels);
    const auto wanted = static_cast<sf_count_t>(samples.size() / channels);
    if (wanted == 0)
        return 0;
    const sf_count_t n = sf_readf_short(m_handle->sndfile, samples.data(), wanted);
    if (n <= 0)
        return 0;
    m_position += n;
    return static_cast<std::size_t>(n);
}

void SoundFile::Seek(std::int64_t frame) {
    frame = std::clamp<std::int64_t>(frame, 0, m_format.frames);
    const sf_count_t at = sf_seek(m_handle->sndfile, frame, SEEK_SET);
    if (at >= 0)
        m_position = at;
}

SoundOpening OpenSound(std::unique_ptr<ByteSource> source) {
    if (source->Size() == 0)
        return Refused(SoundProblem::Empty, "файл пуст");

    auto handle = std::make_unique<SoundFile::Handle>();
    handle->source = std::move(source);
    // Only a RIFF file of WAV sound (little- or big-endian) goes on to
    // libsndfile: the players take nothing else, so none of its other
    // parsers ever reads a file from the program's folder.
    const std::string lead = Leading(*handle->source, 20);
    const bool riff = lead.rfind("RIFF", 0) == 0 || lead.rfind("RIFX", 0) == 0;
    if (!riff || lead.size() < 12 || lead.compare(8, 4, "WAVE") != 0) {
        if (lead.size() < 12 && lead.rfind("RIFF", 0) == 0)
            return Refused(SoundProblem::Truncated, "заголовок файла WAV обрезан");
        if (const int foreign = ForeignContainer(lead))
            return Refused(SoundProblem::Unsupported,
                           "формат «" + FormatName(foreign) + "» не поддерживается, нужен WAV");
        return Refused(SoundProblem::NotSound, "это не звуковой файл");
    }
    if (std::optional<SoundOpening> damaged = CheckRiffChunks(*handle, lead[3] == 'X'))
        return std::move(*damaged);
    handle->source->Seek(0);
    SF_VIRTUAL_IO io{VioLength, VioSeek, VioRead, VioWrite, VioTell};
    SF_INFO info{};
    handle->sndfile = sf_open_virtual(&io, SFM_READ, &info, handle.get());
    if (!handle->sndfile)
        return OpenFailure(sf_error(nullptr), *handle);

    const int container = info.format & SF_FORMAT_TYPEMASK;
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX)
        return Refused(SoundProblem::Unsupported,
                       "формат «" + FormatName(container) + "» не поддерживается, нужен WAV");
    const int sampleBytes = BytesPerSample(encoding);
    if (sampleBytes == 0)
        return Refused(SoundProblem::Unsupported, "кодирование «" + FormatName(encoding) +
                                                      "» не поддерживается, нужна линейная ИКМ");
    if (info.channels < 1 || info.channels > kMaxChannels)
        return Refused(SoundProblem::Unsupported,
                       "каналов в файле: " + std::to_string(info.channels) +
                           ", воспроизводятся только моно и стерео");
    if (info.samplerate < kMinSampleRate || info.samplerate > kMaxSampleRate)
        return Refused(SoundProblem::Unsupported, "частота дискретизации " +
                                                      Grouped(info.samplerate) + "\u00A0Гц вне " +
                                                      "пределов " + Grouped(kMinSampleRate) + "–" +
                                                      Grouped(kMaxSampleRate) + "\u00A0Гц");

    // libsndfile quietly shortens a data chunk that runs past the end of the
    // file to what is there. A header that promises more than the file holds
    // belongs to a file cut short (or forged); playing the part that is
    // there would hide the damage, so the file is refused and the hint says
    // how much is missing.
    SF_CHUNK_INFO query{};
    std::snprintf(query.id, sizeof query.id, "data");
    query.id_size = 4;
    SF_CHUNK_ITERATOR* data = sf_get_chunk_iterator(handle->sndfile, &query);
    SF_CHUNK_INFO chunk{};
    if (!data || sf_get_chunk_size(data, &chunk) != SF_ERR_NO_ERROR)
        return Refused(SoundProblem::Truncated, "заголовок файла WAV повреждён");
    const std::int64_t frameBytes = std::int64_t{sampleBytes} * info.channels;
    const std::int64_t present = info.frames * frameBytes;
    if (std::int64_t{chunk.datalen} >= present + frameBytes)
        return Refused(SoundProblem::Truncated, "файл обрезан: заголовок обещает " +
                                                    Grouped(chunk.datalen) +
                                                    " байт звука, в файле " + Grouped(present));
    if (info.frames <= 0)
        return Refused(SoundProblem::Empty, "в файле нет звука");

    // Float samples above full scale are clipped, not wrapped round.
    sf_command(handle->sndfile, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    handle->opening = false;
    const SoundFormat format{info.samplerate, info.channels, info.frames};
    SoundOpening out;
    out.file = std::unique_ptr<SoundFile>(new SoundFile(std::move(handle), format));
    return out;
}

SoundOpening OpenSoundBytes(std::vector<std::byte> bytes) {
    return OpenSound(std::make_unique<MemoryByteSource>(std::move(bytes)));
}

SoundOpening OpenSoundFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return Refused(SoundProblem::Missing, "нет такого файла");
    if (ec)
        return Refused(SoundProblem::Unreadable, "файл недоступен");
    if (status.type() == std::filesystem::file_type::directory)
        return Refused(SoundProblem::NotSound, "это папка, а не звуковой файл");
    // Opening a pipe or a device could wait for ever; such a name is refused
    // unopened.
    if (status.type() != std::filesystem::file_type::regular)
        return Refused(SoundProblem::NotSound, "это не обычный файл");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return Refused(SoundProblem::Unreadable,
                       errno == EACCES ? "нет права читать файл" : "файл не открывается");
    return OpenSound(std::make_unique<FileByteSource>(file));
}
