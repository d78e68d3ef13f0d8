#include "ui/information_text.h"

#include <QFile>
#include <QStringDecoder>

#include <stdexcept>

namespace {

[[noreturn]] void Fail(const QString& text) {
    throw std::runtime_error(text.toStdString());
}

const QString kTooLarge = QStringLiteral("Text exceeds memo capacity");

// CR LF, lone LF and lone CR all become CR LF.
QString WithCrLfBreaks(QStringView text) {
    QString result;
    result.reserve(text.size() + text.size() / 16);
    const QChar* c = text.data();
    const QChar* const end = c + text.size();
    for (; c != end; ++c) {
        if (*c == u'\r') {
            result += u"\r\n";
            if (c + 1 != end && c[1] == u'\n')
                ++c;
        } else if (*c == u'\n') {
            result += u"\r\n";
        } else {
            result += *c;
        }
    }
    return result;
}

} // namespace

QString DecodeInformationText(QByteArrayView bytes) {
    // One byte is one character in this code page and line breaks never get
    // shorter, so more bytes than the memo holds cannot fit.
    if (bytes.size() > kMemoCapacity)
        Fail(kTooLarge);
    QStringDecoder decoder("windows-1251");
    if (!decoder.isValid())
        Fail(QStringLiteral("Code page 1251 is not available"));
    const QString decoded = decoder.decode(bytes);
    QString text = WithCrLfBreaks(decoded);
    if (text.size() > kMemoCapacity)
        Fail(kTooLarge);
    return text;
}

QString ReadInformationText(const QString& fileName) {
    const QString cannotOpen = QStringLiteral("Cannot open file %1").arg(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        Fail(cannotOpen);
    // Refuse a file larger than the memo without reading it.
    if (file.size() > kMemoCapacity)
        Fail(kTooLarge);
    // Read at most one byte beyond the capacity: the file may be growing.
    const QByteArray bytes = file.read(kMemoCapacity + 1);
    if (file.error() != QFileDevice::NoError)
        Fail(cannotOpen);
    return DecodeInformationText(bytes);
}
