#include "reference/reference_record.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

QByteArray Header(const char* signature, std::int32_t aspect, std::uint32_t size) {
    QByteArray out(signature, 4);
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((static_cast<std::uint32_t>(aspect) >> (8 * i)) & 0xFF));
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    return out;
}

std::string ErrorOf(const QByteArray& bytes) {
    // The bytes are copied into a buffer of exactly their size, so a read past
    // the end is caught by the address sanitizer rather than hidden by slack.
    std::vector<char> exact(bytes.begin(), bytes.end());
    try {
        ParseReferenceRecord(QByteArrayView(exact.data(), static_cast<qsizetype>(exact.size())));
    } catch (const EStreamError& e) {
        return e.what();
    }
    return "(accepted)";
}

} // namespace

TEST(ReferenceRecord, WrittenRecordReadsBackWithItsDataAndHeader) {
    QByteArray data;
    for (int i = 0; i < 256; ++i)
        data.append(static_cast<char>(i));
    const QByteArray record = MakeReferenceRecord(data);
    ASSERT_EQ(record.size(), 12 + 256);
    EXPECT_EQ(record.left(4), QByteArray("BDOC"));
    // Little-endian fields: aspect 1, size 256.
    EXPECT_EQ(record.mid(4, 8), QByteArray("\x01\x00\x00\x00\x00\x01\x00\x00", 8));

    const ReferenceRecord parsed = ParseReferenceRecord(record);
    EXPECT_EQ(parsed.drawAspect, 1);
    EXPECT_EQ(parsed.data, data);
}

TEST(ReferenceRecord, DataEndsAtItsDeclaredSize) {
    // Bytes after the declared data belong to whatever follows the record.
    const QByteArray record = MakeReferenceRecord("abc") + QByteArray("TRAILER");
    EXPECT_EQ(ParseReferenceRecord(record).data, QByteArray("abc"));
    EXPECT_TRUE(ParseReferenceRecord(MakeReferenceRecord({})).data.isEmpty());
}

TEST(ReferenceRecord, DamagedRecordsAreRefusedEachWithItsOwnMessage) {
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message; // the whole message, or a part of it after '~'
    } cases[] = {
        {"wrong signature", Header("XDOC", 1, 3) + "abc", "Invalid stream format"},
        {"lower-case signature", Header("bdoc", 1, 0), "Invalid stream format"},
        {"short and not a signature", QByteArray("BX"), "Invalid stream format"},
        {"a word-processor file", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8),
         "Invalid stream format"},
        {"empty", QByteArray(), "~header needs 12 bytes, 0 present"},
        {"signature only, cut", QByteArray("BDO"), "~header needs 12 bytes, 3 present"},
        {"header cut in the size", Header("BDOC", 1, 5).left(9), "~12 bytes, 9 present"},
        {"size beyond the data", Header("BDOC", 1, 10) + "12345",
         "~declares 10 bytes of data, only 5 follow"},
        {"size one beyond", Header("BDOC", 1, 4) + "123", "~declares 4 bytes of data, only 3"},
        {"size near 4 GiB", Header("BDOC", 1, 0xFFFFFFFFu) + "xyz",
         "~declares 4294967295 bytes of data, only 3 follow"},
        {"icon aspect", Header("BDOC", 4, 0), "~draw aspect 4"},
        {"negative aspect", Header("BDOC", -1, 0), "~draw aspect -1"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(c.bytes);
        if (c.message[0] == '~')
            EXPECT_NE(error.find(c.message + 1), std::string::npos) << c.what << ": " << error;
        else
            EXPECT_EQ(error, c.message) << c.what;
    }
}

TEST(ReferenceRecord, ReadsOnlyTheBytesItIsGiven) {
    // The next bytes in memory would complete the record; the reader must not
    // look at them.
    const QByteArray whole = MakeReferenceRecord("complete");
    EXPECT_NE(ErrorOf(whole.left(whole.size() - 1)).find("declares 8 bytes"), std::string::npos);
    EXPECT_THROW(ParseReferenceRecord(QByteArrayView(whole.constData(), whole.size() - 1)),
                 EStreamError);
}
