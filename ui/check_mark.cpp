#include "ui/check_mark.h"

#include "plot/fonts.h"

#include <QPalette>

namespace {
constexpr int kDefaultHeight = 19;
}

CheckMark::CheckMark(QWidget* parent) : QLabel(parent) {
    QFont symbol(QStringLiteral("Wingdings"));
    symbol.setPixelSize(kDefaultHeight);
    setFont(symbol);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor(0, 128, 0));
    setPalette(p);
    setText(QString(QChar(kCheckMarkCharacter)));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The mark lies over a button; clicks go through to it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CheckMark::SetHeight(int pixels) {
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
}
