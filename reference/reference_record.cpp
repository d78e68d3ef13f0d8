#include "reference/reference_record.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace {

std::uint32_t ReadUint32Le(QByteArrayView bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void AppendUint32Le(QByteArray& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

[[noreturn]] void Fail(const QString& message) {
    throw EStreamError(message.toStdString());
}

} // namespace

ReferenceRecord ParseReferenceRecord(QByteArrayView bytes) {
    // A record too short even for its signature is judged by what it has: the
    // beginning of "BDOC" is a truncated record, anything else is not a record.
    const qsizetype signatureBytes = std::min<qsizetype>(bytes.size(), sizeof kRecordSignature);
    if (signatureBytes > 0 &&
        std::memcmp(bytes.data(), kRecordSignature, static_cast<std::size_t>(signatureBytes)) != 0)
        Fail(QStringLiteral("Invalid stream format"));
    if (bytes.size() < kRecordHeaderSize)
        Fail(QStringLiteral("Stored document truncated: its header needs %1 bytes, %2 present")
                 .arg(kRecordHeaderSize)
                 .arg(bytes.size()));

    ReferenceRecord record;
    record.drawAspect = static_cast<std::int32_t>(ReadUint32Le(bytes, 4));
    if (record.drawAspect != kDrawAspectContent)
        Fail(QStringLiteral("Stored document has draw aspect %1; only the content (1) can be shown")
                 .arg(record.drawAspect));

    // Compared in 64 bits: a size near 4 GiB must not wrap into something small.
    const std::uint64_t size = ReadUint32Le(bytes, 8);
    const std::uint64_t available = static_cast<std::uint64_t>(bytes.size() - kRecordHeaderSize);
    if (size > available)
        Fail(QStringLiteral("Stored document declares %1 bytes of data, only %2 follow its header")
                 .arg(size)
                 .arg(available));

    record.data = bytes.sliced(kRecordHeaderSize, static_cast<qsizetype>(size)).toByteArray();
    return record;
}

QByteArray MakeReferenceRecord(QByteArrayView data, std::int32_t drawAspect) {
    QByteArray out;
    out.reserve(kRecordHeaderSize + data.size());
    out.append(kRecordSignature, sizeof kRecordSignature);
    AppendUint32Le(out, static_cast<std::uint32_t>(drawAspect));
    AppendUint32Le(out, static_cast<std::uint32_t>(data.size()));
    out.append(data.data(), data.size());
    return out;
}
