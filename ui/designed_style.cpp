#include "ui/designed_style.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace {

void ApplyTo(QWidget& widget) {
    const QVariant family = widget.property("fontFamily");
    const QVariant height = widget.property("fontHeight");
    const QVariant bold = widget.property("fontBold");
    const QVariant italic = widget.property("fontItalic");
    if (family.isValid() || height.isValid() || bold.isValid() || italic.isValid()) {
        // The font the widget inherits at this point is its parent's, already styled.
        QFont font = widget.font();
        if (family.isValid())
            font.setFamily(family.toString());
        if (height.isValid())
            font.setPixelSize(height.toInt());
        if (bold.isValid())
            font.setBold(bold.toBool());
        if (italic.isValid())
            font.setItalic(italic.toBool());
        widget.setFont(font);
    }
    const QVariant colour = widget.property("textColour");
    if (colour.isValid())
        SetTextColour(widget, colour.value<QColor>());
    // A colour of its own, not a style sheet: a style sheet would cut the
    // widget off from the font it inherits.
    const QVariant background = widget.property("backgroundColour");
    if (background.isValid()) {
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, background.value<QColor>());
        widget.setPalette(palette);
        widget.setAutoFillBackground(true);
    }
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (!label->wordWrap() && !(label->alignment() & Qt::AlignHCenter) &&
            label->pixmap().isNull()) {
            const QSize fit = label->sizeHint();
            label->resize(std::max(label->width(), fit.width()),
                          std::max(label->height(), fit.height()));
        }
    }
    for (QObject* child : widget.children()) {
        if (child->isWidgetType())
            ApplyTo(*static_cast<QWidget*>(child));
    }
}

} // namespace

QFont DesignedFont(const char* family, int pixels, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void SetTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

void ApplyDesignedStyle(QWidget& root, const char* family, int height, bool bold) {
    root.setFont(DesignedFont(family, height, bold));
    ApplyTo(root);
}
