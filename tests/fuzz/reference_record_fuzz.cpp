// The stored-document record reader on any bytes. It may only read a record
// that lies within the bytes, or refuse them with EStreamError; bytes that do
// not begin with the signature (or its beginning) are refused as "Invalid
// stream format", which is what the start-up's error box then shows.

#include "reference/reference_record.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const std::size_t signatureBytes = std::min(size, sizeof kRecordSignature);
    const bool signed_ = std::memcmp(data, kRecordSignature, signatureBytes) == 0;
    try {
        const ReferenceRecord record = ParseReferenceRecord(bytes);
        // What was read is the record at the start of the bytes, header and all.
        if (!signed_ || record.drawAspect != kDrawAspectContent ||
            !bytes.startsWith(MakeReferenceRecord(record.data, record.drawAspect)))
            std::abort();
    } catch (const EStreamError& e) {
        const bool invalidFormat = std::string_view(e.what()) == "Invalid stream format";
        if (invalidFormat == signed_)
            std::abort();
    }
    return 0;
}
