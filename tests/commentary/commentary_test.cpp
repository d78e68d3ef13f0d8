// The spoken commentary of the FOTS workbench, as the build writes it beside
// the program: each sound decodes as the players expect it, is as long as a
// lecturer planned, holds speech throughout, and each code's text teaches the
// same symbols the workbench draws.

#include "codes/line_code.h"

#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Sound {
    const char* name;
    const char* key;          // the code's key among the program's codes
    double shortest, longest; // seconds
    const char* spokenName;   // how the text names its code; empty for 001
};

constexpr Sound kSounds[] = {
    {"001", "", 40, 70, ""},
    {"NRZ", "nrz", 45, 90, "эн-эр-зэт"},
    {"BIL", "bil", 45, 90, "би-эль"},
    {"CMI", "cmi", 45, 90, "си-эм-ай"},
    {"EP-1", "ep1", 45, 90, "е-пэ-один"},
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Lower case for ASCII and the Russian alphabet in UTF-8, enough to find a
// phrase whether or not it begins a sentence.
std::string Lower(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        const auto next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
        if (c == 0xD0 && next >= 0x90 && next <= 0x9F) { // А … П
            out += static_cast<char>(0xD0);
            out += static_cast<char>(next + 0x20);
            ++i;
        } else if (c == 0xD0 && next >= 0xA0 && next <= 0xAF) { // Р … Я
            out += static_cast<char>(0xD1);
            out += static_cast<char>(next - 0x20);
            ++i;
        } else {
            out += static_cast<char>(std::tolower(c));
        }
    }
    return out;
}

} // namespace

TEST(Commentary, EverySoundIsSpeechOfItsPlannedLength) {
    for (const Sound& sound : kSounds) {
        const fs::path path = fs::path(LC_PROGRAM_DIR) / (std::string(sound.name) + ".wav");
        SCOPED_TRACE(path.string());
        ASSERT_TRUE(fs::exists(path));
        EXPECT_LT(fs::file_size(path), 4u * 1024 * 1024);
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        EXPECT_EQ(info.channels, 1);
        EXPECT_EQ(info.samplerate, 22050);
        const double seconds = static_cast<double>(info.frames) / info.samplerate;
        EXPECT_GE(seconds, sound.shortest);
        EXPECT_LE(seconds, sound.longest);
        std::vector<short> samples(static_cast<std::size_t>(info.frames));
        ASSERT_EQ(sf_readf_short(file, samples.data(), info.frames), info.frames);
        sf_close(file);
        // Speech in every tenth of the file (a pause between sentences is
        // far shorter than a tenth), and no sample at full scale.
        const std::size_t tenth = samples.size() / 10;
        for (int k = 0; k < 10; ++k) {
            double energy = 0;
            for (std::size_t i = k * tenth; i < (k + 1) * tenth; ++i)
                energy += static_cast<double>(samples[i]) * samples[i];
            const double rms = std::sqrt(energy / static_cast<double>(tenth)) / 32768.0;
            EXPECT_GT(20 * std::log10(rms + 1e-12), -45.0) << "tenth " << k << " is silent";
        }
        const auto peak = std::max_element(samples.begin(), samples.end(), [](short a, short b) {
            return std::abs(static_cast<int>(a)) < std::abs(static_cast<int>(b));
        });
        EXPECT_LT(std::abs(static_cast<int>(*peak)), 32767) << "the speech clips";
    }
}

// Each code's text opens with its example as a line that is not spoken,
// "# пример: CODE COMBINATION = SYMBOLS"; the symbols must be the
// encoder's, and the spoken text must name the code and say the example.
TEST(Commentary, EachCodeTextTeachesTheEncodersSymbols) {
    for (const Sound& sound : kSounds) {
        if (*sound.spokenName == '\0')
            continue;
        const fs::path path = fs::path(LC_COMMENTARY_DIR) / (std::string(sound.name) + ".txt");
        SCOPED_TRACE(path.string());
        const std::string text = ReadText(path);
        const std::string first = text.substr(0, text.find('\n'));
        const std::string prefix = "# пример: ";
        ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
        std::istringstream example(first.substr(prefix.size()));
        std::string name, combination, equals, symbol, expected;
        example >> name >> combination >> equals;
        ASSERT_EQ(equals, "=") << first;
        while (example >> symbol)
            expected += (expected.empty() ? "" : " ") + symbol;
        std::string key = Lower(name);
        key.erase(std::remove(key.begin(), key.end(), '-'), key.end());
        const std::optional<LineCode> code = LineCodeFromName(key);
        ASSERT_TRUE(code.has_value()) << key;
        EXPECT_EQ(LineCodeKey(*code), sound.key);
        const std::optional<Bits> bits = CombinationBits(std::string_view(combination));
        ASSERT_TRUE(bits.has_value());
        const std::vector<int> levels = Encode(*code, *bits);
        const std::size_t perBit = levels.size() / bits->size();
        std::string symbols;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (i > 0 && i % perBit == 0)
                symbols += ' ';
            symbols += static_cast<char>('0' + levels[i]);
        }
        EXPECT_EQ(symbols, expected);

        // The spoken part names the code and says the same digits, in words.
        const std::string spoken = Lower(text.substr(text.find('\n') + 1));
        EXPECT_NE(spoken.find(sound.spokenName), std::string::npos);
        std::string digits;
        for (char c : combination)
            digits += std::string(digits.empty() ? "" : ", ") + (c == '1' ? "один" : "ноль");
        EXPECT_NE(spoken.find("пример: " + digits + "."), std::string::npos) << digits;
        std::string said;
        for (std::size_t i = 0; i < levels.size(); i += perBit) {
            std::string symbol;
            for (std::size_t j = 0; j < perBit; ++j)
                symbol += std::string(j ? "-" : "") + (levels[i + j] ? "один" : "ноль");
            said += (said.empty() ? "" : ", ") + symbol;
        }
        EXPECT_NE(spoken.find(said + "."), std::string::npos) << said;
    }
}
