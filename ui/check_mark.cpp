#include "ui/check_mark.h"

#include "plot/fonts.h"

#include <QPalette>

namespace {

constexpr int kDefaultHeight = 19;
// Byte 0xFC of code page 1251, where the symbol font keeps its check mark.
constexpr char16_t kSymbolCheckMark = u'\u044C';

} // namespace

CheckMark::CheckMark(QWidget* parent) : QLabel(parent) {
    QFont symbol(QStringLiteral("Wingdings"));
    symbol.setPixelSize(kDefaultHeight);
    setFont(symbol);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 128, 0));
    setPalette(p);
    SetDesignedCaption(QString(QChar(kSymbolCheckMark)));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The mark lies over a button; clicks go through to it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

QString CheckMark::SymbolGlyph(const QString& caption) {
    return caption == QString(QChar(kSymbolCheckMark)) ? QString(QChar(kCheckMarkCharacter))
                                                       : caption;
}

void CheckMark::SetDesignedCaption(const QString& caption) {
    m_caption = caption;
    setText(SymbolGlyph(caption));
}

void CheckMark::SetHeight(int pixels) {
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
}
