#pragma once

#include <QByteArrayView>
#include <QString>

// The information panel's memo holds at most this many characters, line
// breaks counted as the two characters CR LF. A quarter of a mebibyte is far
// more than any description of the program needs and keeps the memo quick to
// lay out; a larger file is refused before a byte of it is read.
inline constexpr qint64 kMemoCapacity = 256 * 1024;

// The file the information panel shows, found by its relative name in the
// working directory.
inline const QString kInformationFileName = QStringLiteral("Data001.txt");

// The text of the file's `bytes`: code page 1251, with every line break (CR
// LF, a lone LF, a lone CR) turned into CR LF. Throws std::runtime_error with
// "Text exceeds memo capacity" when the text would not fit into the memo.
// Bytes the code page leaves undefined (0x98) keep their value as the C1
// control character U+0098, as the system's own conversion does.
QString DecodeInformationText(QByteArrayView bytes);

// Reads `fileName` and decodes it as above. Throws std::runtime_error with
// "Cannot open file <name>" when it cannot be opened or read, and with "Text
// exceeds memo capacity" when the text would not fit into the memo.
QString ReadInformationText(const QString& fileName);
