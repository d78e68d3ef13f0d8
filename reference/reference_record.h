#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <stdexcept>

// A stored reference document that cannot be read. The windows load their
// documents while they are being built, so this error leaves the constructor
// and ends the start-up with its message.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One stored document: the letters "BDOC", the draw aspect (32-bit signed,
// little-endian; 1 = the document's content), the data size N (32-bit
// unsigned, little-endian) and N bytes of document data.
inline constexpr char kRecordSignature[4] = {'B', 'D', 'O', 'C'};
inline constexpr std::int32_t kDrawAspectContent = 1;
inline constexpr qsizetype kRecordHeaderSize = 12;

struct ReferenceRecord {
    std::int32_t drawAspect = kDrawAspectContent;
    QByteArray data;
};

// Reads one record from `bytes`, never looking past their end. Throws
// EStreamError: "Invalid stream format" when the bytes do not begin with the
// signature, and messages of their own for a header cut short, a data size
// that runs past the end of the bytes and a draw aspect other than content.
// Bytes after the record's data are not part of it and are ignored.
ReferenceRecord ParseReferenceRecord(QByteArrayView bytes);

// The record that ParseReferenceRecord reads back as `data`.
QByteArray MakeReferenceRecord(QByteArrayView data, std::int32_t drawAspect = kDrawAspectContent);
