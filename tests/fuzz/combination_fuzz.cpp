// The combination check on any text, read both as the edit field's UTF-16
// code units and as 8-bit text. A combination has bits exactly when it is
// valid, one per character in order; ASCII text is judged alike in both
// widths; and the points of every code built from the bits of a valid one
// lie in the code's series at finite coordinates.

#include "codes/line_code.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

template <typename Char>
void CheckBits(std::basic_string_view<Char> text) {
    const bool valid = IsValidCombination(text);
    const std::optional<Bits> bits = CombinationBits(text);
    if (bits.has_value() != valid)
        std::abort();
    if (!valid)
        return;
    if (bits->size() != text.size() || text.size() < kMinCombinationLength ||
        text.size() > kMaxCombinationLength)
        std::abort();
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((*bits)[i] != (text[i] == Char('1') ? 1 : 0))
            std::abort();

    for (LineCode code : kAllLineCodes) {
        NoiseSource noise;
        const SignalPoints built = BuildSignalPoints(code, *bits, noise);
        const int series = code == LineCode::Nrz ? 2 : 3;
        std::size_t noisy = 0;
        for (const SignalPoint& p : built.points) {
            if (p.series < 0 || p.series >= series || !std::isfinite(p.x) || !std::isfinite(p.y))
                std::abort();
            noisy += p.series == 1;
        }
        // One noise sample per point of the noisy line, none for the others.
        NoiseSource counted;
        for (std::size_t i = 0; i < noisy; ++i)
            counted.NoiseSample();
        if (counted.state() != noise.state())
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view narrow(reinterpret_cast<const char*>(data), size);
    CheckBits(narrow);

    std::u16string wide(size / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    CheckBits(std::u16string_view(wide));

    bool ascii = true;
    for (const char c : narrow)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        const std::u16string widened(narrow.begin(), narrow.end());
        if (IsValidCombination(std::u16string_view(widened)) != IsValidCombination(narrow))
            std::abort();
    }
    return 0;
}
