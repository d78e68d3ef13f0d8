// The reader of the information panel's file on any bytes. The text it gives
// has only CR LF line breaks, fits the memo, and reads back unchanged when it
// is written out in the code page again; it refuses only what does not fit.
//
// Inputs whose first byte has its top bit set are also tiled out to a length
// chosen by the next two bytes near the memo's capacity or near half of it
// (where a text of line breaks alone fills it), so that the size limit meets
// every kind of line break at its edge.

#include "ui/information_text.h"

#include <QStringEncoder>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

// The checks below walk texts of a quarter of a mebibyte; they are not what
// is fuzzed, so their comparisons are left out of the coverage that steers it
// (tracing each of them made a run some fifty times slower).
#define LC_NOT_FUZZED __attribute__((no_sanitize("coverage")))

// The length the text has once every lone CR and lone LF has become CR LF.
LC_NOT_FUZZED qint64 TextLength(QByteArrayView bytes) {
    // Through a plain pointer: an out-of-line operator[] would be traced.
    const char* b = bytes.data();
    const qsizetype n = bytes.size();
    qint64 length = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (b[i] == '\r' && i + 1 < n && b[i + 1] == '\n') {
            length += 2;
            ++i;
        } else if (b[i] == '\r' || b[i] == '\n') {
            length += 2;
        } else {
            length += 1;
        }
    }
    return length;
}

// Every CR is followed by LF and every LF follows a CR.
LC_NOT_FUZZED bool OnlyCrLfBreaks(const QString& text) {
    const char16_t* t = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (t[i] == u'\r' && (i + 1 == n || t[i + 1] != u'\n'))
            return false;
        if (t[i] == u'\n' && (i == 0 || t[i - 1] != u'\r'))
            return false;
    }
    return true;
}

LC_NOT_FUZZED QByteArray Tiled(QByteArrayView tile, qint64 length) {
    QByteArray tiled;
    tiled.reserve(length);
    while (tiled.size() < length)
        tiled.append(tile.first(std::min<qsizetype>(tile.size(), length - tiled.size())));
    return tiled;
}

// `roundTrip`: also write the text out again and read it back.
void Check(QByteArrayView bytes, bool roundTrip) {
    // Line breaks never get shorter, so this covers the byte count too.
    const bool fits = TextLength(bytes) <= kMemoCapacity;
    QString text;
    try {
        text = DecodeInformationText(bytes);
    } catch (const std::runtime_error& e) {
        if (fits || std::string_view(e.what()) != "Text exceeds memo capacity")
            std::abort();
        return;
    }
    if (!fits || text.size() != TextLength(bytes) || !OnlyCrLfBreaks(text))
        std::abort();
    if (!roundTrip)
        return;
    // Every byte of the code page is a character, so the shown text written
    // back is a file that shows the same text.
    QStringEncoder encoder("windows-1251");
    const QByteArray again = encoder.encode(text);
    if (encoder.hasError() || DecodeInformationText(again) != text)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    Check(bytes, true);
    if (size > 3 && (data[0] & 0x80) != 0) {
        const QByteArrayView tile = bytes.sliced(3);
        const int choice = (data[1] << 8) | data[2];
        const qint64 edge = (choice & 1) != 0 ? kMemoCapacity : kMemoCapacity / 2;
        const qint64 length = edge - 128 + (choice >> 1) % 256;
        Check(Tiled(tile, length), false);
    }
    return 0;
}
